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

source "$(dirname "${BASH_SOURCE[0]}")/lib/window_program.sh"

readonly ABOUT_CAPTION="Corvexa2"

settings_folder_exists() {
    settings_folder >/dev/null
}

settings_file_holds_creation_time() {
    local file
    file=$(settings_file) || return 1
    grep -q '^\[Init\]'$'\r''$' "$file" && grep -q '^Created=' "$file"
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

start_program

check "main window of class $MAIN_CLASS titled \"$MAIN_TITLE\" appears" main_window_appears
if [ "$failed" -eq 0 ]; then
    check "settings folder Zelvorian\\Corvexa created under local application data" settings_folder_exists
    check "Corvexa.ini holds [Init] and Created=" settings_file_holds_creation_time
    if [ -n "${CORVEXA2_SCREENSHOT:-}" ]; then
        check "screenshot saved to $CORVEXA2_SCREENSHOT" take_screenshot
    fi
    check "Alt+? opens the About box" about_box_opens_with "alt+?"
    check "Alt+/ opens the About box" about_box_opens_with "alt+/"
    check "closing the main window ends the process with exit code 0" closing_ends_the_program
fi

window_program_summary startup_e2e
