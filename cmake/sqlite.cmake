# SQLite: one amalgamation for both builds, unpacked by scripts/fetch-sqlite.sh
# from its pinned registry package and checked against a pinned sha256.
set(CORVEXA2_SQLITE_DIR "$ENV{HOME}/.cache/corvexa2/sqlite-autoconf-3520000" CACHE PATH
    "Folder holding the verified sqlite3.c and sqlite3.h")
if(NOT EXISTS "${CORVEXA2_SQLITE_DIR}/sqlite3.c")
  execute_process(COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/fetch-sqlite.sh" "${CORVEXA2_SQLITE_DIR}"
                  RESULT_VARIABLE _sqlite_rc)
  if(NOT _sqlite_rc EQUAL 0 OR NOT EXISTS "${CORVEXA2_SQLITE_DIR}/sqlite3.c")
    message(FATAL_ERROR "SQLite amalgamation missing or failed its checksum (scripts/fetch-sqlite.sh)")
  endif()
endif()
add_library(corvexa2_sqlite STATIC "${CORVEXA2_SQLITE_DIR}/sqlite3.c")
target_include_directories(corvexa2_sqlite SYSTEM PUBLIC "${CORVEXA2_SQLITE_DIR}")
target_compile_definitions(corvexa2_sqlite PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION)
# The amalgamation is third-party code: optimise it, never sanitise it.
set_source_files_properties("${CORVEXA2_SQLITE_DIR}/sqlite3.c" PROPERTIES COMPILE_OPTIONS "-O2;-w;-fno-sanitize=all")
if(NOT WIN32)
  find_package(Threads REQUIRED)
  target_link_libraries(corvexa2_sqlite PUBLIC Threads::Threads ${CMAKE_DL_LIBS} m)
endif()
