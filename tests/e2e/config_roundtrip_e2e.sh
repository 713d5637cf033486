#!/usr/bin/env bash
# The configuration round trip through the command-line tool against the
# simulator (a family A instrument in the LCR mode): "config set" writes a
# value, "config get" and "config read" show it, natively and as a Windows
# console program under Wine, and the simulator's transcript shows exactly
# the traffic of each transfer.
set -uo pipefail
source "$CORVEXA2_SOURCE_DIR/scripts/wine-env.sh"

addr=$CORVEXA2_E2E_ADDR
tmp=$CORVEXA2_E2E_TMP
native=$CORVEXA2_NATIVE_BIN/corvexa2-cli
windows=$CORVEXA2_WINDOWS_BIN/corvexa2-cli.exe
transcript=$tmp/transcript.log
source "$CORVEXA2_SOURCE_DIR/tests/e2e/lib/tool_checks.sh"
run_native() { run_tool_native --lan "$addr" "$@"; }
run_windows() { run_tool_windows --lan "$addr" "$@"; }

# The lines of a listing whose first field is number.
line_of() { LC_ALL=C grep -a "^$1"$'\t' <<<"$2"; }

identification=$'RESET\nRESET\nCMD "*IDN?"\nOUT "ZELVORIAN,HVXA1735,10234,2.17\\r\\n"'

sim_start "$tmp/sim" --address "$addr" --instrument hvxa --set 1=3 --transcript "$transcript" || exit 1
trap sim_stop EXIT

# A real parameter: its text goes out as typed, verified through "*esr?".
fresh_transcript
check "set a real value" $'12\tWindow\t2.5000E1\nrc=0' "$(run_native config set 12 2.5000E1)"
check "traffic of a single write" "$identification"$'\nRESET\nCMD "config,12,2.5000E1"\nCMD "*esr?"\nOUT "0\\r\\n"' \
    "$(traffic)"

# An input whose numbering depends on the mode: the mode is read first, and
# in the LCR mode the program's 0 ("Disabled") is the instrument's 2.
fresh_transcript
check "set a mode-dependent choice" $'25\tInput\tDisabled\nrc=0' "$(run_native config set 25 0)"
check "traffic of a mode-dependent write" \
    "$identification"$'\nRESET\nCMD "config,1?"\nOUT "3\\r\\n"\nCMD "config,25,2"\nCMD "*esr?"\nOUT "0\\r\\n"' "$(traffic)"
check "get shows it" $'25\tInput\tDisabled\nrc=0' "$(run_windows config get 25)"

# The whole configuration: every named parameter once, from 255 down to 1,
# with the instrument suspended around the reads.
fresh_transcript
read_out=$(run_native config read)
check "read shows the window" $'12\tWindow\t2.5000E1' "$(line_of 12 "$read_out")"
check "read shows the input in the mode read after it" $'25\tInput\tDisabled' "$(line_of 25 "$read_out")"
check "read shows the mode" $'1\tOperation Mode\tLCR meter' "$(line_of 1 "$read_out")"
check "read succeeds" "rc=0" "$(tail -n 1 <<<"$read_out")"
numbers=$(LC_ALL=C grep -aE $'^[0-9]+\t' <<<"$read_out" | cut -f1 | sort -rn)
expected_commands=$(
    printf '"*IDN?"\n"SUSPEN,ON"\n"*ESR?"\n'
    sed 's/.*/"config,&?"/' <<<"$numbers"
    printf '"SUSPEN,OFF"\n%.0s' 1 2 3 4 5
)
check "traffic of a whole read" "$expected_commands" "$(commands)"
check "one reply per query" "$(($(wc -l <<<"$numbers") + 2))" "$(grep -ac ' OUT ' "$transcript")"
check "at least the documented parameters" "yes" "$([ "$(wc -l <<<"$numbers")" -ge 90 ] && echo yes || echo no)"

# The Windows tool reads the same configuration: the same texts, in the
# program's code page there and in UTF-8 natively.
check "Windows read matches" "$read_out" "$(run_windows config read | iconv -f WINDOWS-1252 -t UTF-8)"

# Out of limits: nothing is sent, the limits are shown.
fresh_transcript
check "out of limits" $'Window (id:12 val:1000) can only be set between 0.01 and 1e+002\nrc=1' \
    "$(run_native config set 12 1000)"
check "nothing written" "" "$(commands | grep -v IDN)"
check "misuse" "rc=2" "$(run_native config set 12)"

[ "$failures" -eq 0 ]
