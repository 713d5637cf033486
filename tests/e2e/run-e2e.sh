#!/usr/bin/env bash
# Runs every tests/e2e/*_e2e.sh in name order, each in a world of its own: a
# fresh copy of the Wine template prefix, its own wineserver and Xvfb display,
# its own loopback address and scratch folder. A script's exit status 0 means
# passed, 77 skipped, anything else failed (so does running past the time
# limit). Prints PASS/SKIP/FAIL lines, the output of failing scripts, and as
# its last line:
#   e2e: N passed, N failed, N skipped
#
# The environment a script gets:
#   WINE64 WINEPREFIX DISPLAY WINEDEBUG WINEDLLOVERRIDES (and /usr/lib/wine on PATH)
#   CORVEXA2_WINDOWS_BIN  build/windows/bin      CORVEXA2_NATIVE_BIN  build/native/bin
#   CORVEXA2_SOURCE_DIR   the source tree        CORVEXA2_E2E_TMP     a fresh scratch folder
#   CORVEXA2_E2E_ADDR     a loopback address for its simulator: 127.0.0.(100 + the
#                         script's index), or the next one where the simulator can
#                         listen when something else holds that one
#
# Settings: CORVEXA2_E2E_LOGS (default build/test-logs/e2e), CORVEXA2_E2E_TIMEOUT
# (seconds per script, default 600), CORVEXA2_DISPLAY_FIRST/LAST (default 40..49).
set -uo pipefail

source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine-env.sh"
root=$CORVEXA2_ROOT
logs=${CORVEXA2_E2E_LOGS:-$root/build/test-logs/e2e}
time_limit=${CORVEXA2_E2E_TIMEOUT:-600}
display_first=${CORVEXA2_DISPLAY_FIRST:-40}
display_last=${CORVEXA2_DISPLAY_LAST:-49}
mkdir -p "$logs"

shopt -s nullglob
mapfile -t scripts < <(printf '%s\n' "$root"/tests/e2e/*_e2e.sh | LC_ALL=C sort)
shopt -u nullglob
[ -n "${scripts[0]:-}" ] || scripts=()

passed=0 failed=0 skipped=0
current_work=

# Ends whatever the current script's world left running: the script's
# process group, the prefix's wineserver and Wine programs, and the Xvfb.
cleanup() {
    [ -n "$current_work" ] || return 0
    local pid
    pid=$(cat "$current_work/pgid" 2>/dev/null)
    [ -n "$pid" ] && kill -TERM -- "-$pid" 2>/dev/null
    wine_prefix_remove "$current_work/prefix"
    pid=$(cat "$current_work/xvfb.pid" 2>/dev/null)
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$current_work"
    current_work=
}
trap 'cleanup; exit 130' INT TERM
trap cleanup EXIT

report_failure() {
    local name=$1 why=$2 log=$3
    failed=$((failed + 1))
    echo "FAIL $name ($why)"
    if [ -s "$log" ]; then
        echo "---- last lines of $log"
        tail -n 40 "$log" | tr -d '\r' | sed 's/^/    /'
        echo "----"
    fi
}

if [ ${#scripts[@]} -gt 0 ] && ! wine_template_ensure "$logs/wine-template.log"; then
    for script in "${scripts[@]}"; do
        report_failure "$(basename "$script" .sh)" "no Wine template prefix" "$logs/wine-template.log"
    done
    echo "e2e: $passed passed, $failed failed, $skipped skipped"
    exit 1
fi

# Runs one script; returns its exit status, or 125 when its world could not
# be set up (the reason is in its log).
run_script() {
    local script=$1 index=$2 log=$3 rc
    current_work=$(mktemp -d /tmp/corvexa2-e2e.XXXXXX)
    mkdir -p "$current_work/scratch"
    (
        export WINEPREFIX=$current_work/prefix
        if ! wine_prefix_copy "$WINEPREFIX" ||
            ! xvfb_start "$display_first" "$display_last" "$log" ||
            ! echo "$CORVEXA2_XVFB_PID" >"$current_work/xvfb.pid" ||
            ! wineserver_start "$log"; then
            wineserver_stop
            xvfb_stop
            exit 125
        fi
        export CORVEXA2_WINDOWS_BIN=$root/build/windows/bin
        export CORVEXA2_NATIVE_BIN=$root/build/native/bin
        export CORVEXA2_SOURCE_DIR=$root
        CORVEXA2_E2E_ADDR=$(sim_free_address "127.0.0.$((100 + index))" 2>>"$log") || {
            echo "run-e2e: no loopback address for the simulator from 127.0.0.$((100 + index)) on" >>"$log"
            wineserver_stop
            xvfb_stop
            exit 125
        }
        export CORVEXA2_E2E_ADDR
        export CORVEXA2_E2E_TMP=$current_work/scratch
        export DISPLAY
        # A session of its own, so whatever the script leaves behind can be
        # ended by its process group afterwards.
        setsid -w bash -c 'echo $$ >"$0"; exec timeout -k 10 "$1" bash "$2"' \
            "$current_work/pgid" "$time_limit" "$script" </dev/null >>"$log" 2>&1
        rc=$?
        wineserver_stop
        xvfb_stop
        exit "$rc"
    )
    rc=$?
    cleanup
    return "$rc"
}

index=0
for script in "${scripts[@]}"; do
    name=$(basename "$script" .sh)
    log=$logs/$name.log
    : >"$log"
    started=$SECONDS
    run_script "$script" "$index" "$log"
    rc=$?
    took=$((SECONDS - started))
    case "$rc" in
        0) passed=$((passed + 1)); echo "PASS $name (${took} s)" ;;
        77) skipped=$((skipped + 1)); echo "SKIP $name" ;;
        124) report_failure "$name" "timed out after $time_limit s" "$log" ;;
        125) report_failure "$name" "could not set up Wine, Xvfb or its loopback address" "$log" ;;
        *) report_failure "$name" "exit status $rc, ${took} s" "$log" ;;
    esac
    index=$((index + 1))
done

echo "e2e: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
