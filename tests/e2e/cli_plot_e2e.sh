#!/usr/bin/env bash
# The test graph through the command-line tool: two sweeps of the
# simulator's control loop K / (s^3 + a s^2 + b s + c) stored with
# "sweep fra --db", then "plot test --margins" into an SVG picture that must
# be well-formed XML (xmllint where it is installed, else Python's parser)
# and show the titles, a curve path per test and the margin labels (the
# 0 dB crossing near 123.29 Hz); the Windows tool under Wine writes the same
# bytes, and a .bmp picture when its build writes bitmap files.
set -uo pipefail
source "$CORVEXA2_SOURCE_DIR/scripts/wine-env.sh"

addr=$CORVEXA2_E2E_ADDR
tmp=$CORVEXA2_E2E_TMP
native=$CORVEXA2_NATIVE_BIN/corvexa2-cli
windows=$CORVEXA2_WINDOWS_BIN/corvexa2-cli.exe
transcript=$tmp/transcript.log
source "$CORVEXA2_SOURCE_DIR/tests/e2e/lib/tool_checks.sh"


sim_start "$tmp/sim" --address "$addr" --instrument hvxc --dut loop --transcript "$transcript" || exit 1
trap sim_stop EXIT

db=$tmp/loops.db
check "new session" "rc=0" "$(run_tool_native db new-session "$db" Bench | tail -n 1)"
for name in Loop Again; do
    check "sweep $name" "rc=0" "$(run_tool_native --lan "$addr" sweep fra --steps 300 --start 10 --end 10k \
        --db "$db" --session 1 --project Loops --name "$name" | tail -n 1)"
done
sim_stop

svg=$tmp/loops.svg
check "plot test --margins" "rc=0" "$(run_tool_native plot test --db "$db" --test 1 --test 2 --margins --out "$svg")"
check "the picture is well-formed XML" "yes" "$(well_formed "$svg")"
check "the picture's size" "1" "$(count_of "$svg" '<svg [^>]*width="1008" height="600"')"
for title in 'FREQUENCY (Hz)' 'GAIN (dB)' 'PHASE (°)' '>Loop<' '>A.ain<'; do
    check "the picture shows $title" "1" "$(count_of "$svg" "$title")"
done
# The first test's gain (Crimson) and phase (Hot Pink), the second's (Royal
# Blue, Steel Blue): one path each.
for stroke in DC143C FF69B4 3A5FCD 63B8FF; do
    check "one curve path in #$stroke" "1" "$(count_of "$svg" "<path [^>]*stroke=\"#$stroke\"")"
done
check "the 0 dB crossings are labelled near 123.29 Hz" "2" "$(count_of "$svg" '>123\.[23][0-9] Hz  -15[23]\.[0-9]°<')"
check "the 10 Hz to 10 kHz axis" "yes" "$(grep -q '>10<' "$svg" && grep -q '>1k<' "$svg" && grep -q '>10k<' "$svg" && echo yes)"
check "no part file is left" "no" "$([ -e "$svg.part" ] && echo yes || echo no)"
check "a test the file lacks" $'No test 5 in '"$db"$'\n1' \
    "$("$native" plot test --db "$db" --test 5 --out "$tmp/none.svg" 2>&1; echo $?)"
check "and no picture for it" "no" "$([ -e "$tmp/none.svg" ] && echo yes || echo no)"

# The Windows tool: the same picture, byte for byte.
"$WINE64" "$windows" plot test --db "$(windows_path "$db")" --test 1 --test 2 --margins \
    --out "$(windows_path "$tmp/windows.svg")" >"$tmp/windows.out" 2>&1
check "Windows: plot test" "0" "$?"
check "Windows: the same SVG bytes" "same" "$(cmp -s "$svg" "$tmp/windows.svg" && echo same || echo different)"
if [ -e "$CORVEXA2_SOURCE_DIR/src/graph/bmp_file.h" ]; then
    "$WINE64" "$windows" plot test --db "$(windows_path "$db")" --test 1 --out "$(windows_path "$tmp/loops.bmp")" \
        >"$tmp/windows-bmp.out" 2>&1
    check "Windows: plot test into a bitmap" "0" "$?"
    check "Windows: the bitmap's header" "BM" "$(head -c 2 "$tmp/loops.bmp")"
fi

[ "$failures" -eq 0 ]
