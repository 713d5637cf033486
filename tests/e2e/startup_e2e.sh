#!/bin/bash
# Start-up and shut-down of Corvexa2.exe under Wine, driven from a second
# process (wintool.exe):
#   - the main window appears with its class and title;
#   - the first run creates the settings folder and the main settings file;
#   - Alt+? and Alt+/ both open the About box;
#   - closing the window ends the process with exit code 0.
# Environment: WINE64 (path of wine64), CORVEXA2_WINDOWS_BIN (folder of the
# Windows executables), WINEPREFIX (a fresh prefix, its wineserver running)
# and DISPLAY. Optional: CORVEXA2_SCREENSHOT, a PNG file to save a picture of
# the running program to (needs xwd and ImageMagick's convert).
# Prints one line per check and a closing count; exits 0 when all passed.
set -u

: "${WINE64:?set WINE64 to the path of wine64}"
: "${CORVEXA2_WINDOWS_BIN:?set CORVEXA2_WINDOWS_BIN to the folder of the Windows executables}"
: "${WINEPREFIX:?set WINEPREFIX to a fresh Wine prefix}"
: "${DISPLAY:?set DISPLAY to a running X display}"
export WINEDEBUG="${WINEDEBUG:--all}"

readonly MAIN_CLASS="ZVCorvexa2WClass"
readonly MAIN_TITLE="Corvexa2 1_2"
readonly ABOUT_CAPTION="Corvexa2"
readonly IDOK=1
readonly START_SECONDS=60
readonly STEP_SECONDS=20

passed=0
failed=0
program_pid=""
log_file="$(mktemp /tmp/corvexa2-startup-e2e.XXXXXX)"

check() {  # check DESCRIPTION COMMAND...: runs the command, prints one line
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

finish() {
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
trap finish EXIT

main_window_appears() {
    wintool wait-window "$MAIN_CLASS" "$MAIN_TITLE" "$START_SECONDS" >/dev/null
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

settings_folder_exists() {
    settings_folder >/dev/null
}

settings_file_holds_creation_time() {
    local file
    file="$(settings_folder)/Corvexa.ini" || return 1
    [ -f "$file" ] && grep -q '^\[Init\]'$'\r''$' "$file" && grep -q '^Created=' "$file"
}

# Presses the accelerator and expects the About box, then closes it.
about_box_opens_with() {
    local key=$1 text
    wintool foreground "$MAIN_CLASS" &&
        wintool send-keys "$key" &&
        wintool find-dialog "$ABOUT_CAPTION" "$STEP_SECONDS" >/dev/null || return 1
    text="$(wintool dialog-text "$ABOUT_CAPTION")"
    echo "About box for $key: ${text%%$'\n'*}" >>"$log_file"
    wintool click-dialog-button "$ABOUT_CAPTION" "$IDOK" &&
        [[ "$text" == *"Corvexa2"*"1_2"* ]] &&
        wait_until_no_dialog
}

wait_until_no_dialog() {
    local deadline=$((SECONDS + STEP_SECONDS))
    while wintool find-dialog "$ABOUT_CAPTION" 0 >/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

take_screenshot() {
    xwd -root -silent | convert xwd:- "$CORVEXA2_SCREENSHOT"
}

closing_ends_the_process_with_code_0() {
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

"$WINE64" "$CORVEXA2_WINDOWS_BIN/Corvexa2.exe" </dev/null >>"$log_file" 2>&1 &
program_pid=$!

check "main window of class $MAIN_CLASS titled \"$MAIN_TITLE\" appears" main_window_appears
if [ "$failed" -eq 0 ]; then
    check "settings folder Zelvorian\\Corvexa created under local application data" settings_folder_exists
    check "Corvexa.ini holds [Init] and Created=" settings_file_holds_creation_time
    if [ -n "${CORVEXA2_SCREENSHOT:-}" ]; then
        check "screenshot saved to $CORVEXA2_SCREENSHOT" take_screenshot
    fi
    check "Alt+? opens the About box" about_box_opens_with "alt+?"
    check "Alt+/ opens the About box" about_box_opens_with "alt+/"
    check "closing the main window ends the process with exit code 0" closing_ends_the_process_with_code_0
fi

echo "startup_e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
