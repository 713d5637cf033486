#!/usr/bin/env bash
# The text exports through the command-line tool, on sweeps of the
# simulator's RC low-pass (fc = 1000 Hz):
#   - "sweep fra --db" stores a test, "export tests" writes its file: the
#     header and one row per point in the German number format, the -3 dB
#     point at the corner, CR LF between rows and none after the last;
#   - "sweep fra --export" with the Custom format: the preamble with the
#     instrument's identity and settings report, apostrophes before the cells;
#   - the Windows tool under Wine writes the same bytes for the same test.
set -uo pipefail
source "$CORVEXA2_SOURCE_DIR/scripts/wine-env.sh"

addr=$CORVEXA2_E2E_ADDR
tmp=$CORVEXA2_E2E_TMP
native=$CORVEXA2_NATIVE_BIN/corvexa2-cli
windows=$CORVEXA2_WINDOWS_BIN/corvexa2-cli.exe
transcript=$tmp/transcript.log
source "$CORVEXA2_SOURCE_DIR/tests/e2e/lib/tool_checks.sh"

# Line $2 of file $1 without its CR.
line_of() { sed -n "${2}p" "$1" | tr -d '\r'; }

sim_start "$tmp/sim" --address "$addr" --instrument hvxa --dut rc-lowpass:fc=1000 --transcript "$transcript" ||
    exit 1
trap sim_stop EXIT

db=$tmp/tests.db
check "new session" "rc=0" "$(run_tool_native db new-session "$db" Bench | tail -n 1)"
check "FRA sweep into the database" "rc=0" "$(run_tool_native --lan "$addr" sweep fra --steps 3 --start 100 \
    --end 10000 --db "$db" --session 1 --project Filters --name "RC/1k" | tail -n 1)"

mkdir -p "$tmp/native" "$tmp/windows"
check "export tests" "$tmp/native/RC 1k.txt"$'\n'"rc=0" \
    "$(run_tool_native export tests --db "$db" --test 1 --folder "$tmp/native" --number-format germany)"
file=$tmp/native/RC\ 1k.txt
check "the header" $'Steps\tFrequency (Hz)\tGain (dB)     \tPhase (\xB0)' "$(line_of "$file" 1)"
check "the corner point: -3 dB, -45 degrees, comma decimal mark" $'2\t1,00000e+003\t-3,01030e+000\t-4,50000e+001' \
    "$(line_of "$file" 3)"
check "three rows, CR LF between them and none after the last" "3 none" \
    "$(grep -c $'\r$' "$file") $([ "$(tail -c 1 "$file" | od -An -tx1 | tr -d ' ')" != 0a ] && echo none)"

check "FRA sweep with its export" "rc=0" "$(run_tool_native --lan "$addr" sweep fra --steps 3 --start 100 \
    --end 10000 --export "$tmp/sweep.txt" --number-format custom --decimal ';')"
check "the preamble's identity" $'Instrument,type,HVXA1735\n,serial number,10234\n,firmware version,2.17\n,calibration,' \
    "$(sed -n '4,7p' "$tmp/sweep.txt" | tr -d '\r')"
check "the data start after the settings report" "yes" \
    "$(grep -aq '^Measurement settings' "$tmp/sweep.txt" && grep -aq '^data start sweep 1' "$tmp/sweep.txt" && echo yes)"
check "a Custom row" $'3\t\'1;00000e+004\t\'1;00000e+000' "$(tail -n 1 "$tmp/sweep.txt" | cut -f 1-3)"

"$WINE64" "$windows" export tests --db "$(windows_path "$db")" --test 1 --folder "$(windows_path "$tmp/windows")" \
    --number-format germany >/dev/null 2>"$tmp/err.txt"
check "Windows: the same bytes" "same" \
    "$(cmp -s "$tmp/windows/RC 1k.txt" "$file" && echo same || echo "differ: $(cat "$tmp/err.txt")")"

[ "$failures" -eq 0 ]
