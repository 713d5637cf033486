#!/usr/bin/env bash
# The launcher of the Windows test programs under ctest (their
# CROSSCOMPILING_EMULATOR, tests/CMakeLists.txt), for the discovery run and
# for every test:
#   wine-run-test.sh WINE64 PROGRAM.exe ARGS...
# The program's standard output reaches ctest as it comes. A program that
# ends with a non-zero status gets one more line, on standard error, with
# the status; one that printed nothing at all also gets what can tell why:
# everything Wine wrote to standard error, whether the prefix's wineserver
# is still up, and the Wine processes of the machine. A test is never run
# a second time: it passes or fails on its only run.
#
# Wine's own standard error is collected and passed on when the program
# ends. The program dies with this script, so ctest's time-out, which ends
# only the process it started, never leaves a test running.
set -u

if [ $# -lt 2 ]; then
    echo "usage: wine-run-test.sh WINE64 PROGRAM.exe [ARGS...]" >&2
    exit 2
fi

work=$(mktemp -d /tmp/corvexa2-wine-run.XXXXXX) || exit 1
trap 'rm -rf "$work"' EXIT

# setpriv: SIGKILL to the program when this script dies first.
launch=()
command -v setpriv >/dev/null 2>&1 && launch=(setpriv --pdeathsig KILL --)
"${launch[@]}" "$@" 2>"$work/stderr" </dev/null | tee "$work/stdout"
rc=${PIPESTATUS[0]}

cat "$work/stderr" >&2
[ "$rc" -eq 0 ] && exit 0

program=$(basename "$2")
if [ -s "$work/stdout" ]; then
    echo "wine-run-test: $program ended with exit status $rc" >&2
    exit "$rc"
fi

{
    echo "wine-run-test: $program ended with exit status $rc without printing anything"
    if [ -s "$work/stderr" ]; then
        echo "  (Wine's error output is above)"
    else
        echo "  Wine wrote nothing to standard error either (WINEDEBUG=${WINEDEBUG:-})"
    fi
    source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
    if [ -n "${WINEPREFIX:-}" ]; then
        if wineserver_ready; then
            echo "  the wineserver of $WINEPREFIX is up"
        else
            echo "  the wineserver of $WINEPREFIX is NOT running"
        fi
    fi
    echo "  load: $(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null)"
    echo "  live Wine processes of the prefix now:"
    for pid in $(pgrep -f 'wineserver|\.exe'); do
        tr '\0' '\n' 2>/dev/null </proc/"$pid"/environ | grep -qxF "WINEPREFIX=${WINEPREFIX:-}" &&
            ps -o pid=,etimes=,stat=,args= -p "$pid" | sed 's/^/    /'
    done
} >&2
exit "$rc"
