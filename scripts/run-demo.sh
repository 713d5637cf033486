#!/usr/bin/env bash
# Builds the simulator and the Windows program, starts the simulator (TCP on
# 127.0.0.1 port 10001 and a pseudo-terminal wired to COM5), then starts
# Corvexa2.exe under Wine: on your display when DISPLAY is set, otherwise on
# a private Xvfb. Once the main window is up it saves a screenshot to
# build/demo-screenshot.png. Runs until the program is closed or Ctrl+C
# (on a private Xvfb: for CORVEXA2_DEMO_SECONDS, default 300), then stops
# the simulator and Wine.
#
# The Wine prefix persists in ~/.cache/corvexa2/demo-prefix, so settings
# made in the program survive between runs.
#
# Settings: CORVEXA2_DEMO_ADDR (simulator address, default 127.0.0.1),
# CORVEXA2_DEMO_SECONDS (0 = until closed), CORVEXA2_DISPLAY_FIRST/LAST
# (private Xvfb displays, default 40..49).
set -uo pipefail

source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-env.sh"
root=$CORVEXA2_ROOT
cd "$root" || exit 1
logs=$root/build/demo-logs
shot=$root/build/demo-screenshot.png
demo_prefix=$CORVEXA2_CACHE/demo-prefix
address=${CORVEXA2_DEMO_ADDR:-127.0.0.1}
title_prefix="Corvexa2"
mkdir -p "$logs"

die() {
    echo "run-demo: $*" >&2
    exit 1
}

say() {
    echo "run-demo: $*"
}

build() {
    local preset=$1; shift
    say "building $* ($preset)"
    cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1 ||
        die "configuring $preset failed; see $logs/configure-$preset.log"
    cmake --build --preset "$preset" -j2 --target "$@" >"$logs/build-$preset.log" 2>&1 || {
        grep -E -A3 'error:|undefined reference' "$logs/build-$preset.log" | head -n 40 >&2
        die "building $preset failed; see $logs/build-$preset.log"
    }
}

# The X window id of the program's top-level window (its title starts with
# the program's name) once it is mapped, or nothing yet.
main_window_id() {
    local id
    for id in $(xwininfo -root -tree 2>/dev/null | tr -d '\r' |
        awk -v t="\"$title_prefix" 'index($0, t) { print $1 }'); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            echo "$id"
            return
        fi
    done
}

main_window_shown() {
    [ -n "$(main_window_id)" ] && return 0
    kill -0 "$app_pid" 2>/dev/null || return 2
    return 1
}

app_pid=
private_display=
cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver_stop
    fi
    sim_stop
    xvfb_stop
}
trap 'echo; say "stopping"; cleanup; exit 130' INT TERM
trap cleanup EXIT

say "checking the machine (scripts/setup.sh)"
bash scripts/setup.sh || die "set-up failed"
wine_env_export || die "Wine is not usable"
wine_fonts_check >/dev/null || die "the window frames would be drawn without Wine's fonts"
build native hvxsim corvexa2-cli
build windows Corvexa2 corvexa2-cli
program=$root/build/windows/bin/Corvexa2.exe
[ -f "$program" ] || die "$program was not built"

wine_template_ensure "$logs/wine-template.log" || die "could not make the Wine prefix; see $logs/wine-template.log"
if [ ! -d "$demo_prefix" ]; then
    say "making the demo Wine prefix $demo_prefix"
    wine_prefix_copy "$demo_prefix" || die "could not copy the Wine prefix"
fi
wine_prefix_add_fonts "$demo_prefix" || die "could not give the demo prefix Wine's fonts"
export WINEPREFIX=$demo_prefix

# A window manager frames the window on a real display; a private Xvfb has
# none, so Wine draws the frames itself there.
managed=Y
if [ -z "${DISPLAY:-}" ] || ! xwininfo -root >/dev/null 2>&1; then
    xvfb_start "${CORVEXA2_DISPLAY_FIRST:-40}" "${CORVEXA2_DISPLAY_LAST:-49}" "$logs/xvfb.log" ||
        die "could not start Xvfb"
    private_display=yes
    managed=N
    say "no usable display: started a private Xvfb on $DISPLAY"
fi
seconds=${CORVEXA2_DEMO_SECONDS:-}
[ -n "$seconds" ] || { [ -n "$private_display" ] && seconds=300 || seconds=0; }

wineserver_start "$logs/wineserver.log" || die "could not start the wineserver"
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f </dev/null >>"$logs/wineserver.log" 2>&1

sim_start "$logs/demo-sim" --address "$address" --serial --serial-link "$demo_prefix/dosdevices/com5" \
    --transcript "$logs/demo-sim-transcript.log" ||
    die "the simulator did not start (is $address port 10001 in use? set CORVEXA2_DEMO_ADDR)"
say "simulator running: ${CORVEXA2_SIM_READY#hvxsim ready }"

say "starting $program"
(cd "$root/build/windows/bin" && exec "$WINE64" Corvexa2.exe </dev/null >>"$logs/corvexa2.log" 2>&1) &
app_pid=$!

if wait_for 60 main_window_shown; then
    sleep 2 # let it finish painting
    window=$(main_window_id)
    if xwd -id "$window" -silent | convert xwd:- "$shot" 2>>"$logs/screenshot.log"; then
        say "main window is up; screenshot saved to $shot"
    else
        say "main window is up, but the screenshot failed (see $logs/screenshot.log)"
    fi
else
    say "the main window did not appear (program log: $logs/corvexa2.log)"
    if [ -n "$private_display" ]; then
        xwd -root -silent | convert xwd:- "$shot" 2>>"$logs/screenshot.log" &&
            say "screenshot of the whole screen saved to $shot"
    fi
fi

cat <<EOF

  Corvexa2 is running under Wine (display $DISPLAY, prefix $demo_prefix).
  The simulated instrument answers on LAN $address (port 10001) and on COM5
  (the simulator's pseudo-terminal). The Connection dialog is not in this
  build yet; the command-line tool reaches the instrument meanwhile:
    WINEPREFIX=$demo_prefix $WINE64 build/windows/bin/corvexa2-cli.exe --lan $address identify
    WINEPREFIX=$demo_prefix $WINE64 build/windows/bin/corvexa2-cli.exe --usb COM5 config read
    build/native/bin/corvexa2-cli --lan $address config set 18 200
  The simulator's transcript: $logs/demo-sim-transcript.log

EOF
if [ "$seconds" -gt 0 ]; then
    say "running for $seconds s (Ctrl+C stops it sooner)"
else
    say "running until the program is closed (Ctrl+C stops it)"
fi

started=$SECONDS
while kill -0 "$app_pid" 2>/dev/null; do
    if [ "$seconds" -gt 0 ] && [ $((SECONDS - started)) -ge "$seconds" ]; then
        break
    fi
    sleep 1
done
say "stopping the simulator and Wine"
