#!/usr/bin/env bash
# The analyses through the command-line tool on sweeps of the simulator's
# devices, each against the device's closed-form answer:
#   - a Randles cell (Rs 10, Rct 100, Cdl 10 uF) through "sweep lcr --out",
#     then "analyze eis": Rs, Rp and Cp;
#   - a piezo resonator (C0 1 nF, R1 10, L1 0.1 H, C1 10 pF) through
#     "sweep lcr --piezo --out", then "analyze piezo": R, L, C and Cp;
#   - the control loop K / (s^3 + a s^2 + b s + c) through "sweep fra --db"
#     and "--out", then "margins --db" and "margins FILE": the 0 dB crossing
#     (123.29 Hz, phase -152.88 degrees) and the phase crossover at
#     sqrt(b) / 2 pi = 173.18 Hz (gain -6.02 dB);
#   - the Windows tool under Wine on the same files prints the same bytes.
set -uo pipefail
source "$CORVEXA2_SOURCE_DIR/scripts/wine-env.sh"

addr=$CORVEXA2_E2E_ADDR
tmp=$CORVEXA2_E2E_TMP
native=$CORVEXA2_NATIVE_BIN/corvexa2-cli
windows=$CORVEXA2_WINDOWS_BIN/corvexa2-cli.exe
transcript=$tmp/transcript.log
source "$CORVEXA2_SOURCE_DIR/tests/e2e/lib/tool_checks.sh"

# The value of line "$2<TAB>value" in file $1.
value_of() { awk -F'\t' -v name="$2" '$1 == name { print $2; exit }' "$1"; }
# "yes" when |$1 - $2| <= $3.
near() { awk -v a="$1" -v b="$2" -v tol="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; print (a != "" && d <= tol) ? "yes" : "no (" a ")" }'; }
# Field $2 of the first line of file $1 that starts with $3.
field_of() { awk -F'\t' -v key="$3" -v field="$2" '$1 == key { print $field; exit }' "$1"; }

sim_start "$tmp/sim" --address "$addr" --instrument hvxc --dut randles:rs=10,rct=100,cdl=1e-5 --dut loop \
    --transcript "$transcript" || exit 1
trap sim_stop EXIT

# The Randles cell: the arc's top lies at 1 / (2 pi Rct Cdl) = 159.2 Hz; the
# sample nearest it is at most half a step (1.8 %) away, and Cp with it.
check "Randles sweep" "rc=0" "$(run_tool_native --lan "$addr" sweep lcr --steps 200 --start 0.1 --end 100k \
    --out "$tmp/randles.dat")"
"$native" analyze eis "$tmp/randles.dat" >"$tmp/eis.out" 2>"$tmp/eis.err"
check "analyze eis" "0" "$?"
check "EIS: Rs = 10 ohms" "yes" "$(near "$(value_of "$tmp/eis.out" rs)" 10 0.01)"
check "EIS: Rp = Rct = 100 ohms" "yes" "$(near "$(value_of "$tmp/eis.out" rp)" 100 0.1)"
check "EIS: Cp = Cdl = 10 uF" "yes" "$(near "$(value_of "$tmp/eis.out" cp)" 1e-5 0.02e-5)"
# The simulator writes five significant digits: Z' at 100 kHz reads 1.0000E+001.
check "EIS: the shown Rs" "10.0000 Ω" "$(value_of "$tmp/eis.out" Rs)"
check "EIS: a refused tuning" $'The Smoothing can only be between 0% and 100%\n1' \
    "$("$native" analyze eis "$tmp/randles.dat" --smoothing 101 2>&1; echo $?)"

# The loop: stored as a test and written as a sweep data file.
db=$tmp/loops.db
check "new session" "rc=0" "$(run_tool_native db new-session "$db" Bench | tail -n 1)"
check "loop sweep" "rc=0" "$(run_tool_native --lan "$addr" sweep fra --steps 300 --start 10 --end 10k \
    --out "$tmp/loop.dat" --db "$db" --session 1 --project Loops --name Loop)"
"$native" margins --db "$db" --test 1 >"$tmp/margins-db.out" 2>"$tmp/margins-db.err"
check "margins --db" "0" "$?"
check "margins --db: the test's name first" "Loop" "$(head -n 1 "$tmp/margins-db.out")"
check "0 dB crossing at 123.29 Hz" "yes" "$(near "$(field_of "$tmp/margins-db.out" 2 0dB)" 123.29 0.1)"
check "its phase -152.88 degrees (27.1 degrees of phase margin)" "yes" \
    "$(near "$(field_of "$tmp/margins-db.out" 4 0dB)" -152.88 0.1)"
# The phase crossover, found where the stored phase wraps from -180 to +180:
# within one step (2.3 %) of 173.18 Hz.
check "0 degree crossing near 173.18 Hz" "yes" "$(near "$(field_of "$tmp/margins-db.out" 2 0deg)" 173.18 4)"
check "its gain -6.02 dB (the gain margin)" "yes" "$(near "$(field_of "$tmp/margins-db.out" 3 0deg)" -6.02 0.3)"
check "the band between the two" "band 123 173" "$(field_of "$tmp/margins-db.out" 0 band | tr '\t' ' ')"
"$native" margins "$tmp/loop.dat" >"$tmp/margins-file.out" 2>&1
check "margins FILE: the view's two messages" \
    $'0dB point = freq: 123.29 phase: -152.87\n0Phase point = freq: 173.45 gain: -6.05' "$(cat "$tmp/margins-file.out")"
check "margins of a test the file lacks" $'No test 5 in '"$db"$'\n1' "$("$native" margins --db "$db" --test 5 2>&1; echo $?)"
sim_stop

# The resonator: fr = 1 / (2 pi sqrt(L1 C1)) = 159.155 kHz,
# fa = fr sqrt(1 + C1 / C0) = 159.949 kHz, swept in 5 Hz steps.
sim_start "$tmp/sim-piezo" --address "$addr" --instrument hvxc --dut piezo:c0=1e-9,r1=10,l1=0.1,c1=1e-11 \
    --transcript "$transcript" || exit 1
check "resonator sweep" "rc=0" "$(run_tool_native --lan "$addr" sweep lcr --piezo --steps 2000 --start 155k \
    --end 165k --out "$tmp/piezo.dat")"
"$native" analyze piezo "$tmp/piezo.dat" >"$tmp/piezo.out" 2>"$tmp/piezo.err"
check "analyze piezo" "0" "$?"
check "piezo: R = R1 = 10 ohms" "yes" "$(near "$(value_of "$tmp/piezo.out" r)" 10 0.5)"
check "piezo: L = L1 = 0.1 H" "yes" "$(near "$(value_of "$tmp/piezo.out" l)" 0.1 0.002)"
check "piezo: C = C1 = 10 pF" "yes" "$(near "$(value_of "$tmp/piezo.out" c)" 1e-11 0.02e-11)"
check "piezo: Cp = C0 = 1 nF" "yes" "$(near "$(value_of "$tmp/piezo.out" c_p)" 1e-9 0.02e-9)"
check "piezo: resonance at 159.155 kHz" "yes" \
    "$(near "$(awk -v w="$(value_of "$tmp/piezo.out" w_r)" 'BEGIN { print w / 6.283185307179586 }')" 159155 5)"
check "piezo: anti-resonance at 159.949 kHz" "yes" \
    "$(near "$(awk -v w="$(value_of "$tmp/piezo.out" w_a)" 'BEGIN { print w / 6.283185307179586 }')" 159949 5)"
sim_stop

# The Windows tool on the same files and database: the same bytes.
for run in "analyze eis:randles.dat:eis.out" "analyze piezo:piezo.dat:piezo.out" "margins:loop.dat:margins-file.out"; do
    IFS=: read -r words file expected <<<"$run"
    # shellcheck disable=SC2086
    "$WINE64" "$windows" $words "$(windows_path "$tmp/$file")" 2>"$tmp/err.txt" | tr -d '\r' >"$tmp/windows.out"
    check "Windows: $words prints what the native tool prints" "same" \
        "$(cmp -s "$tmp/windows.out" "$tmp/$expected" && echo same || diff "$tmp/$expected" "$tmp/windows.out" | head -n 5)"
done
"$WINE64" "$windows" margins --db "$(windows_path "$db")" --test 1 2>"$tmp/err.txt" | tr -d '\r' >"$tmp/windows.out"
check "Windows: margins --db prints what the native tool prints" "same" \
    "$(cmp -s "$tmp/windows.out" "$tmp/margins-db.out" && echo same || diff "$tmp/margins-db.out" "$tmp/windows.out" | head -n 5)"

[ "$failures" -eq 0 ]
