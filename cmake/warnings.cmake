# Project-wide compile options. Warnings are errors in both builds; third-party
# code (SQLite, GoogleTest) is compiled without them.
add_library(corvexa2_options INTERFACE)
target_compile_options(corvexa2_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Werror -Wno-missing-field-initializers>
  # GCC 12 reports std::string concatenation as overlapping memcpy at -O2
  # (a false positive of its -Wrestrict); keep it a warning.
  $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CXX_COMPILER_ID:GNU>>:-Wno-error=restrict>)
if(WIN32)
  # Windows-1252 strings everywhere, 8-bit ("A") Win32 functions.
  target_compile_definitions(corvexa2_options INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()
if(CORVEXA2_SANITIZE AND CORVEXA2_TSAN)
  message(FATAL_ERROR "CORVEXA2_SANITIZE and CORVEXA2_TSAN cannot go together (ThreadSanitizer excludes AddressSanitizer)")
endif()
if(CORVEXA2_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(CORVEXA2_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
