#!/usr/bin/env bash
# Sweeps through the command-line tool against the simulator, each checked
# on the simulator's transcript:
#   - an FRA sweep of an RC low-pass into a sweep data file and a test
#     database: the sweep's own connection carries the protocol in order
#     (reset byte, "out,on", the set-up reads of 18, 6, 58 and 1, "start",
#     the "DAV?" polls, "gainph,sweep?"), the file and the database hold
#     every point;
#   - a cancelled sweep: Ctrl+C (SIGINT) once the first "DAV?" is in, on a
#     simulator whose sweep never finishes in time; the tool says so, exits
#     1, never asks for the data, and writes neither file nor test;
#   - an impedance sweep of a resistor (the LCR mode set first, then three
#     "start" lines) into a sweep data file;
#   - the Windows tool under Wine, one FRA sweep into a database that the
#     sqlite3 shell then reads.
set -uo pipefail
source "$CORVEXA2_SOURCE_DIR/scripts/wine-env.sh"

addr=$CORVEXA2_E2E_ADDR
tmp=$CORVEXA2_E2E_TMP
native=$CORVEXA2_NATIVE_BIN/corvexa2-cli
windows=$CORVEXA2_WINDOWS_BIN/corvexa2-cli.exe
transcript=$tmp/transcript.log
source "$CORVEXA2_SOURCE_DIR/tests/e2e/lib/tool_checks.sh"

# The channel (tcp#N) of the connection that sent command $1 last.
channel_of() { wait_settled; grep -aF " CMD \"$1\"" "$transcript" | tail -n 1 | cut -d' ' -f2; }
# Reset bytes and commands of channel $1, a run of "DAV?" polls shown once.
connection_commands() {
    grep -aE "^[^ ]+ $1 (RESET|CMD)( |$)" "$transcript" | cut -d' ' -f3- |
        awk '$0 != "CMD \"DAV?\"" || last != $0 { print } { last = $0 }'
}
# Field $2 of every row of a sweep data file (its lines after the time
# stamp, CR LF between them), one a line.
file_column() { tr -d '\r' <"$1" | awk -F'\t' -v field="$2" 'NR > 1 { print $field }'; }
rows() { sqlite3 "$1" "$2" 2>&1; }

sim_start "$tmp/sim" --address "$addr" --instrument hvxa --dut rc-lowpass:fc=1000 --dut resistor:r=470 \
    --transcript "$transcript" || exit 1
trap sim_stop EXIT

# One FRA sweep, into a file and a database.
db=$tmp/tests.db
check "new session" "rc=0" "$(run_tool_native db new-session "$db" Bench | tail -n 1)"
fresh_transcript
check "FRA sweep" "rc=0" "$(run_tool_native --lan "$addr" sweep fra --steps 5 --start 100 --end 10000 \
    --out "$tmp/fra.dat" --db "$db" --session 1 --project Filters --name RC)"
sweep=$(channel_of start)
check "the sweep's connection, in order" \
    $'RESET\nRESET\nCMD "out,on"\nCMD "config,18?"\nCMD "config,6?"\nCMD "config,58?"\nCMD "config,1?"\nCMD "start"\nCMD "DAV?"\nCMD "gainph,sweep?"' \
    "$(connection_commands "$sweep")"
check "the sweep read 5 steps" 'OUT "5\r\n"' "$(grep -aA1 " $sweep CMD \"config,18?\"" "$transcript" |
    sed -n '2s/^[^ ]* [^ ]* //p')"
check "the sweep was asked for once" "1" "$(grep -ac 'CMD "gainph,sweep?"' "$transcript")"
check "sweep data file: the 5 steps" $'100.0000\n316.2300\n1000.0000\n3162.3000\n10000.0000' \
    "$(file_column "$tmp/fra.dat" 2)"
check "sweep data file: gain at the corner" "-3.01030E+000" "$(file_column "$tmp/fra.dat" 5 | sed -n 3p)"
check "the test" "RC|1" "$(rows "$db" 'SELECT Name, SessionNo FROM Test')"
check "its points" "5|100|10000" "$(rows "$db" \
    'SELECT count(*), min(Frequency), max(Frequency) FROM Data WHERE TestNo = (SELECT TestNo FROM Test)')"
check "the corner point: -3 dB, -45 degrees" "-3.01|-45.0" "$(rows "$db" \
    'SELECT printf("%.2f|%.1f", Amplitude, Phase) FROM Data WHERE Frequency = 1000')"

# An impedance sweep: the instrument into the LCR mode, then three starts.
fresh_transcript
check "LCR sweep" "rc=0" "$(run_tool_native --lan "$addr" sweep lcr --steps 4 --start 100 --end 1000 \
    --out "$tmp/lcr.dat")"
sweep=$(channel_of start)
check "the LCR sweep's connection, in order" \
    $'RESET\nRESET\nCMD "out,on"\nCMD "config,18?"\nCMD "config,6?"\nCMD "config,58?"\nCMD "config,1?"\nCMD "config,1,3"\nCMD "*esr?"\nCMD "start"\nCMD "start"\nCMD "start"\nCMD "DAV?"\nCMD "LCR,SWEEP?"' \
    "$(connection_commands "$sweep")"
check "LCR sweep data file: R of every step" $'4.70000E+002\n4.70000E+002\n4.70000E+002\n4.70000E+002' \
    "$(file_column "$tmp/lcr.dat" 9)"

# The Windows tool: one FRA sweep into a database of its own.
win_db=$tmp/windows.db
fresh_transcript
check "Windows new session" "rc=0" "$(run_tool_windows db new-session "$(windows_path "$win_db")" Bench | tail -n 1)"
check "Windows FRA sweep" "rc=0" "$(run_tool_windows --lan "$addr" sweep fra --steps 3 --start 10 --end 1000 \
    --db "$(windows_path "$win_db")" --session 1 --project Filters --name WINE | tail -n 1)"
check "Windows: the sweep was asked for" "1" "$(grep -ac 'CMD "gainph,sweep?"' "$transcript")"
check "Windows: the test" "WINE|1" "$(rows "$win_db" 'SELECT Name, SessionNo FROM Test')"
check "Windows: its points" "10,100,1000" "$(rows "$win_db" \
    'SELECT group_concat(Frequency) FROM (SELECT Frequency FROM Data ORDER BY Frequency)')"
sim_stop

# A cancelled sweep: a sweep of 5 steps that takes an hour, Ctrl+C once the
# tool polls for the data.
transcript=$tmp/cancel-transcript.log
sim_start_free "$tmp/slow-sim" "$addr" --instrument hvxa --point-ms 720000 --transcript "$transcript" || exit 1
"$native" --lan "$CORVEXA2_SIM_ADDRESS" sweep fra --steps 5 --out "$tmp/cancelled.dat" --db "$db" --session 1 \
    --project Filters --name CANCELLED </dev/null >"$tmp/cancel.out" 2>"$tmp/cancel.err" &
tool=$!
polled() { grep -aqF ' CMD "DAV?"' "$transcript"; }
tool_ended() { ! kill -0 "$tool" 2>/dev/null; }
polled_or_ended() { polled || { tool_ended && return 2; }; }
wait_for 30 polled_or_ended && kill -INT "$tool"
wait_for 30 tool_ended || kill -KILL "$tool"
wait "$tool"
check "cancelled: exit status" "1" "$?"
check "cancelled: the message" "The sweep was cancelled" "$(grep -a 'cancelled' "$tmp/cancel.err")"
check "cancelled: polled for the data" "yes" "$(polled && echo yes || echo no)"
check "cancelled: the data never asked for" "0" "$(grep -ac 'CMD "gainph,sweep?"' "$transcript")"
check "cancelled: no sweep data file" "no" "$([ -e "$tmp/cancelled.dat" ] && echo yes || echo no)"
check "cancelled: no test stored" "RC" "$(rows "$db" 'SELECT group_concat(Name) FROM Test')"
check "cancelled: the link closed" "yes" "$(wait_settled && echo yes || echo no)"

[ "$failures" -eq 0 ]
