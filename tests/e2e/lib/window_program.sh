# Shared steps of the end-to-end scripts that drive Corvexa2.exe under Wine
# from a second process (wintool.exe). Sourced after the script has checked
# its environment (WINE64, CORVEXA2_WINDOWS_BIN, WINEPREFIX, DISPLAY).
#
#   check DESCRIPTION COMMAND...   run a check, print "ok:"/"FAILED:", count it
#   wintool ARGS...                wintool.exe, CR removed, errors to the log
#   start_program [FOLDER]         start Corvexa2.exe (in FOLDER when given)
#   main_window_appears            the main window exists within START_SECONDS
#   closing_ends_the_program       WM_CLOSE ends the process with exit code 0
#   settings_folder, settings_file the prefix user's Corvexa folder and .ini
#   window_program_summary NAME    the closing count; status 0 when all passed
#
# The log file collects the programs' output and the checks' notes; it is
# printed when a check failed, and removed on exit with the program stopped.

readonly MAIN_CLASS="ZVCorvexa2WClass"
readonly MAIN_TITLE="Corvexa2 1_2"
readonly IDOK=1
readonly START_SECONDS=60
readonly STEP_SECONDS=20

passed=0
failed=0
program_pid=""
log_file="$(mktemp /tmp/corvexa2-e2e.XXXXXX)"

check() {
    local description=$1
    shift
    if "$@"; then
        echo "ok: $description"
        passed=$((passed + 1))
    else
        echo "FAILED: $description"
        failed=$((failed + 1))
    fi
}

wintool() {
    "$WINE64" "$CORVEXA2_WINDOWS_BIN/wintool.exe" "$@" 2>>"$log_file" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

window_program_finish() {
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null
    fi
    if [ "$failed" -ne 0 ]; then
        echo "--- log ---"
        cat "$log_file"
    fi
    rm -f "$log_file"
}
trap window_program_finish EXIT

start_program() {
    local folder=${1:-.}
    (cd "$folder" && exec "$WINE64" "$CORVEXA2_WINDOWS_BIN/Corvexa2.exe") </dev/null >>"$log_file" 2>&1 &
    program_pid=$!
}

main_window_appears() {
    wintool wait-window "$MAIN_CLASS" "$MAIN_TITLE" "$START_SECONDS" >/dev/null
}

closing_ends_the_program() {
    wintool close "$MAIN_CLASS" || return 1
    local deadline=$((SECONDS + STEP_SECONDS))
    while kill -0 "$program_pid" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
    wait "$program_pid"
    local code=$?
    program_pid=""
    echo "exit code $code" >>"$log_file"
    [ "$code" -eq 0 ]
}

# The shell's local application-data folder of the prefix's user.
settings_folder() {
    local folder
    for folder in "$WINEPREFIX"/drive_c/users/*/AppData/Local/Zelvorian/Corvexa; do
        if [ -d "$folder" ]; then
            echo "$folder"
            return 0
        fi
    done
    return 1
}

settings_file() {
    local folder
    folder=$(settings_folder) || return 1
    [ -f "$folder/Corvexa.ini" ] && echo "$folder/Corvexa.ini"
}

window_program_summary() {
    echo "$1: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
