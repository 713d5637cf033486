#!/usr/bin/env bash
# The impedance graphs through the command-line tool: an impedance sweep of
# the simulator's Randles cell (Rs 10, Rct 100, Cdl 10 uF) from 0.1 Hz to
# 100 kHz written with "sweep lcr --out", then "plot lcr-bode", "plot
# lcr-nyquist", "plot eis" and "plot piezo" of that file: each picture
# well-formed XML (xmllint where it is installed, else Python's parser) with
# its titles, axis labels and curves, the EIS graph with the analysis' points
# marked in white; the Windows tool under Wine writes the same bytes.
set -uo pipefail
source "$CORVEXA2_SOURCE_DIR/scripts/wine-env.sh"

addr=$CORVEXA2_E2E_ADDR
tmp=$CORVEXA2_E2E_TMP
native=$CORVEXA2_NATIVE_BIN/corvexa2-cli
windows=$CORVEXA2_WINDOWS_BIN/corvexa2-cli.exe
transcript=$tmp/transcript.log
source "$CORVEXA2_SOURCE_DIR/tests/e2e/lib/tool_checks.sh"

# Whether every text is in the picture, one element each at least.
shows_all() {
    local svg=$1; shift
    for text in "$@"; do
        grep -q -- ">$text<" "$svg" || { echo "missing $text"; return; }
    done
    echo yes
}

sim_start "$tmp/sim" --address "$addr" --instrument hvxc --dut randles:rs=10,rct=100,cdl=1e-5 \
    --transcript "$transcript" || exit 1
trap sim_stop EXIT

sweep=$tmp/randles.dat
check "sweep lcr" "rc=0" "$(run_tool_native --lan "$addr" sweep lcr --steps 60 --start 0.1 --end 100k --out "$sweep" \
    | tail -n 1)"
sim_stop

# Each kind, its titles and labels (UTF-8 in the picture).
declare -A shown=(
    [lcr-bode]="FREQUENCY (Hz)|Z MAGNITUDE (Ohms)|Z PHASE (°)|100.00 m|1|10|100|1k|10k|100k"
    [lcr-nyquist]="Real Z&apos; (Ohms)|Imagnary Z&apos;&apos; (Ohms)"
    [eis]="Real Z&apos; (Ohms)|Imagnary Z&apos;&apos; (Ohms)"
    [piezo]="FREQUENCY (Hz)|IMPEDANCE (ohms)|PHASE (°)|-180|180|100.00 m|100k"
)
for kind in lcr-bode lcr-nyquist eis piezo; do
    svg=$tmp/$kind.svg
    check "plot $kind" "rc=0" "$(run_tool_native plot "$kind" "$sweep" --out "$svg")"
    check "plot $kind: well-formed XML" "yes" "$(well_formed "$svg")"
    IFS='|' read -r -a texts <<<"${shown[$kind]}"
    check "plot $kind: titles and labels" "yes" "$(shows_all "$svg" "${texts[@]}")"
    check "plot $kind: no part file is left" "no" "$([ -e "$svg.part" ] && echo yes || echo no)"
done
# The Bode graph's two curves: plot A in Red, plot B (which has data, so its
# title is not "None") in Dark Blue.
check "plot lcr-bode: plot B has data" "0" "$(count_of "$tmp/lcr-bode.svg" '>None<')"
for stroke in DC143C 3A5FCD; do
    check "plot lcr-bode: a curve in #$stroke" "yes" \
        "$([ "$(count_of "$tmp/lcr-bode.svg" "<path [^>]*stroke=\"#$stroke\"")" -ge 1 ] && echo yes)"
done
check "plot eis: the analysis' points in white" "yes" \
    "$([ "$(count_of "$tmp/eis.svg" '<path [^>]*stroke="#FFFFFF"')" -ge 1 ] && echo yes)"
check "plot piezo: a file that is not there" "1" \
    "$("$native" plot piezo "$tmp/none.dat" --out "$tmp/none.svg" >/dev/null 2>&1; echo $?)"
check "and no picture for it" "no" "$([ -e "$tmp/none.svg" ] && echo yes || echo no)"

# The Windows tool: the same pictures, byte for byte.
for kind in lcr-bode lcr-nyquist eis piezo; do
    "$WINE64" "$windows" plot "$kind" "$(windows_path "$sweep")" --out "$(windows_path "$tmp/windows-$kind.svg")" \
        >"$tmp/windows-$kind.out" 2>&1
    check "Windows: plot $kind" "0" "$?"
    check "Windows: plot $kind gives the same SVG bytes" "same" \
        "$(cmp -s "$tmp/$kind.svg" "$tmp/windows-$kind.svg" && echo same || echo different)"
done

[ "$failures" -eq 0 ]
