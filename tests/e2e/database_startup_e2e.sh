#!/bin/bash
# Choosing the test database when Corvexa2.exe starts under Wine, driven from
# a second process (wintool.exe):
#   - a first start in an empty working folder creates default.db there, with
#     exactly the program's tables and indexes (read with the sqlite3 shell
#     when it is installed), and stores its path as "Init"/"DatabaseFile";
#   - a start whose remembered database was deleted shows "Unable to load
#     last database file" once, with the path, then makes and remembers the
#     default database again.
# Environment as for startup_e2e.sh: WINE64, CORVEXA2_WINDOWS_BIN, WINEPREFIX
# (a fresh prefix, its wineserver running), DISPLAY, and CORVEXA2_E2E_TMP (a
# scratch folder). Prints one line per check and a closing count; exits 0
# when all passed.
set -u

: "${WINE64:?set WINE64 to the path of wine64}"
: "${CORVEXA2_WINDOWS_BIN:?set CORVEXA2_WINDOWS_BIN to the folder of the Windows executables}"
: "${WINEPREFIX:?set WINEPREFIX to a fresh Wine prefix}"
: "${DISPLAY:?set DISPLAY to a running X display}"
: "${CORVEXA2_E2E_TMP:?set CORVEXA2_E2E_TMP to a scratch folder}"
export WINEDEBUG="${WINEDEBUG:--all}"

source "$(dirname "${BASH_SOURCE[0]}")/lib/window_program.sh"

readonly MESSAGE_CAPTION="Corvexa2"
work="$CORVEXA2_E2E_TMP/work folder"
mkdir -p "$work"

# The Windows form of a Unix path, as the program sees it (drive Z: is /).
windows_path() {
    local path=${1//\//\\}
    printf 'Z:%s\n' "$path"
}

# The stored "Init"/"DatabaseFile" value, CR removed.
remembered_database() {
    local file
    file=$(settings_file) || return 1
    sed -n 's/^DatabaseFile=//p' "$file" | tr -d '\r'
}

default_database_exists() {
    [ -s "$work/default.db" ]
}

# The schema as the sqlite3 shell reads it from the file.
default_database_has_the_tables() {
    if ! command -v sqlite3 >/dev/null; then
        echo "sqlite3 shell not installed: schema not read" >>"$log_file"
        return 0
    fi
    local expected actual
    expected=$'table|Session|Session\nindex|Session_ID|Session\ntable|Test|Test\nindex|Test_ID|Test\nindex|TEST_INFO_ID|Test\ntable|Data|Data\nindex|Data_ID|Data\nindex|Data_Info_ID|Data'
    actual=$(sqlite3 "$work/default.db" 'SELECT type, name, tbl_name FROM sqlite_master ORDER BY rowid' 2>>"$log_file")
    echo "schema: $actual" >>"$log_file"
    [ "$actual" == "$expected" ] || return 1
    actual=$(sqlite3 "$work/default.db" 'PRAGMA table_info(Session)' | cut -d'|' -f2 | paste -sd, -)
    echo "Session columns: $actual" >>"$log_file"
    [ "$actual" == "SessionNo,Name,Unit,Date,Location,Performed By,Comments" ]
}

default_database_is_remembered() {
    local stored
    stored=$(remembered_database) || return 1
    echo "DatabaseFile=$stored" >>"$log_file"
    [ "$stored" == "$(windows_path "$work/default.db")" ]
}

no_message_box() {
    ! wintool find-dialog "$MESSAGE_CAPTION" 2 >/dev/null
}

# Remembers a database file that does not exist, and deletes the default
# one so the fallback must make it again.
remember_a_deleted_database() {
    local file gone
    file=$(settings_file) || return 1
    rm -f "$work/default.db" || return 1
    gone=$(windows_path "$work/gone.db")
    sed -i "s|^DatabaseFile=.*\$|DatabaseFile=${gone//\\/\\\\}\r|" "$file"
    [ "$(remembered_database)" == "$gone" ]
}

missing_database_message_is_shown() {
    wintool find-dialog "$MESSAGE_CAPTION" "$START_SECONDS" >/dev/null || return 1
    local text expected
    text=$(wintool dialog-text "$MESSAGE_CAPTION")
    expected=$'Unable to load last database file:\n'"$(windows_path "$work/gone.db")"$'\nLoading default database.'
    echo "message: $text" >>"$log_file"
    wintool click-dialog-button "$MESSAGE_CAPTION" "$IDOK" || return 1
    [ "$text" == "$expected" ]
}

start_program "$work"
check "first start: main window of class $MAIN_CLASS appears" main_window_appears
if [ "$failed" -eq 0 ]; then
    check "no message on a first start" no_message_box
    check "default.db created in the working folder" default_database_exists
    check "default.db holds the tables and indexes (sqlite3 shell)" default_database_has_the_tables
    check "its path is stored as Init/DatabaseFile" default_database_is_remembered
    check "closing ends the program with exit code 0" closing_ends_the_program
fi
if [ "$failed" -eq 0 ]; then
    check "the remembered database is replaced by a deleted file" remember_a_deleted_database
    start_program "$work"
    check "second start: \"Unable to load last database file\" with the path" missing_database_message_is_shown
    check "second start: main window appears" main_window_appears
    check "the message is shown once" no_message_box
    check "default.db made again" default_database_exists
    check "default.db holds the tables and indexes again" default_database_has_the_tables
    check "the default database is remembered again" default_database_is_remembered
    check "closing ends the program with exit code 0" closing_ends_the_program
fi

window_program_summary database_startup_e2e
