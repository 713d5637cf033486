#!/usr/bin/env bash
# Real-time sweeps and live readings through the command-line tool against
# the simulator, each checked on the simulator's transcript:
#   - a real-time FRA sweep of an RC low-pass: the output switched on, the
#     set-up reads, then for each frequency its own connection setting the
#     generator (parameter 48 in "%0.4E" form), polling "DAV?" and reading
#     "fra?", and the output switched off at the end; the sweep data file
#     holds one row a frequency, each following the device;
#   - the same with --set-start-frequency: the generator left on at the
#     start frequency;
#   - a cancelled real-time sweep: Ctrl+C while a point waits for data that
#     never settles; the tool says so, exits 1, writes no file, and measures
#     no further frequency;
#   - live readings: "*wai;fra?" and "lcr?", one row each.
set -uo pipefail
source "$CORVEXA2_SOURCE_DIR/scripts/wine-env.sh"

addr=$CORVEXA2_E2E_ADDR
tmp=$CORVEXA2_E2E_TMP
native=$CORVEXA2_NATIVE_BIN/corvexa2-cli
transcript=$tmp/transcript.log
source "$CORVEXA2_SOURCE_DIR/tests/e2e/lib/tool_checks.sh"

# Field $2 of every row of a sweep data file, one a line.
file_column() { tr -d '\r' <"$1" | awk -F'\t' -v field="$2" 'NR > 1 { print $field }'; }
# The generator commands (parameters 7 and 48), in order.
generator_commands() { commands | grep -aE '^"config,(7|48),' | tr -d '"'; }

sim_start "$tmp/sim" --address "$addr" --instrument hvxa --dut rc-lowpass:fc=1000 --dut resistor:r=470 \
    --transcript "$transcript" || exit 1
trap sim_stop EXIT

fresh_transcript
check "real-time FRA sweep" "rc=0" "$(run_tool_native --lan "$addr" sweep fra --realtime --steps 3 --start 100 \
    --end 10000 --out "$tmp/rt.dat")"
check "the generator: on, stepped, off" \
    $'config,7,1\nconfig,48,1.0000E+002\nconfig,48,1.0000E+002\nconfig,48,1.0000E+003\nconfig,48,1.0000E+004\nconfig,7,0' \
    "$(generator_commands)"
check "one reading a frequency" "3" "$(commands | grep -acx '"fra?"')"
check "each point waited for its data" "yes" "$(commands | grep -aqx '"DAV?"' && echo yes || echo no)"
check "no sweep of the instrument's own" "0" "$(commands | grep -acE '^"(start|gainph,sweep\?)"$')"
check "sweep data file: the 3 frequencies" $'100.0000\n1000.0000\n10000.0000' "$(file_column "$tmp/rt.dat" 2)"
check "sweep data file: gain at the corner" "-3.01030E+000" "$(file_column "$tmp/rt.dat" 5 | sed -n 2p)"
check "the link closed" "yes" "$(wait_settled && echo yes || echo no)"

fresh_transcript
check "real-time sweep, back to the start" "rc=0" "$(run_tool_native --lan "$addr" sweep fra --realtime --steps 2 \
    --start 100 --end 1000 --set-start-frequency | tail -n 1)"
check "the generator left on at the start frequency" "config,48,1.0000E+002" "$(generator_commands | tail -n 1)"
check "the output never switched off" "0" "$(generator_commands | grep -c 'config,7,0')"

fresh_transcript
check "live FRA readings" "rc=0" "$(run_tool_native --lan "$addr" reading fra --count 2 | tail -n 1)"
check "two waited readings" "2" "$(commands | grep -acx '"\*wai;fra?"')"
check "live impedance reading" "rc=0" "$(run_tool_native --lan "$addr" reading lcr | tail -n 1)"
check "one impedance reading" "1" "$(commands | grep -acx '"lcr?"')"
sim_stop

# A cancelled real-time sweep: the first point's data never settles.
transcript=$tmp/cancel-transcript.log
sim_start_free "$tmp/slow-sim" "$addr" --instrument hvxa --settle-ms 720000 --transcript "$transcript" || exit 1
"$native" --lan "$CORVEXA2_SIM_ADDRESS" sweep fra --realtime --steps 3 --start 100 --end 10000 \
    --out "$tmp/cancelled.dat" </dev/null >"$tmp/cancel.out" 2>"$tmp/cancel.err" &
tool=$!
polled() { grep -aqF ' CMD "DAV?"' "$transcript"; }
tool_ended() { ! kill -0 "$tool" 2>/dev/null; }
polled_or_ended() { polled || { tool_ended && return 2; }; }
wait_for 30 polled_or_ended && kill -INT "$tool"
wait_for 30 tool_ended || kill -KILL "$tool"
wait "$tool"
check "cancelled: exit status" "1" "$?"
check "cancelled: the message" "The sweep was cancelled" "$(grep -a 'cancelled' "$tmp/cancel.err")"
check "cancelled: no reading taken" "0" "$(commands | grep -acx '"fra?"')"
check "cancelled: only the first frequency set" "1.0000E+002" \
    "$(commands | grep -a '^"config,48,' | cut -d, -f3 | tr -d '"' | sort -u)"
check "cancelled: no sweep data file" "no" "$([ -e "$tmp/cancelled.dat" ] && echo yes || echo no)"
check "cancelled: the link closed" "yes" "$(wait_settled && echo yes || echo no)"

[ "$failures" -eq 0 ]
