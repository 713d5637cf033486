#!/usr/bin/env bash
# The command-line tool against the simulator, natively and as a Windows
# console program under Wine: identification over TCP and over a serial port
# (a pseudo-terminal, mapped to COM6 in the Wine prefix), a query whose
# traffic the simulator's transcript must show exactly, a value reply, and
# the exit statuses for failure and misuse.
set -uo pipefail
source "$CORVEXA2_SOURCE_DIR/scripts/wine-env.sh"

addr=$CORVEXA2_E2E_ADDR
tmp=$CORVEXA2_E2E_TMP
native=$CORVEXA2_NATIVE_BIN/corvexa2-cli
windows=$CORVEXA2_WINDOWS_BIN/corvexa2-cli.exe
transcript=$tmp/transcript.log
source "$CORVEXA2_SOURCE_DIR/tests/e2e/lib/tool_checks.sh"
run_native() { run_tool_native "$@"; }
run_windows() { run_tool_windows "$@"; }

sim_start "$tmp/sim" --address "$addr" --serial-link "$WINEPREFIX/dosdevices/com6" \
    --raw-reply 'vals?=1.23450E+03,2.00000E+00' --transcript "$transcript" || exit 1
trap sim_stop EXIT
pty=$(sed -n 's/^hvxsim ready .* serial=\(.*\)$/\1/p' <<<"$CORVEXA2_SIM_READY")

identified=$'The connection was successful\nZELVORIAN,HVXA1735,10234,2.17\ninstrument_type=7 sub_model=0 current_option=2\nrc=0'
check "native identify over TCP" "$identified" "$(run_native --lan "$addr" identify)"
check "native identify over a serial device" "$identified" "$(run_native --serial "$pty" identify)"
check "Windows identify over TCP" "$identified" "$(run_windows --lan "$addr" identify)"
check "Windows identify over COM6" "$identified" "$(run_windows --usb COM6 identify)"

# One query, and exactly its traffic at the simulator.
fresh_transcript
check "query prints the reply" $'ZELVORIAN,HVXA1735,10234,2.17\nrc=0' "$(run_native --lan "$addr" query '*IDN?')"
check "query traffic" $'RESET\nCMD "*IDN?"\nOUT "ZELVORIAN,HVXA1735,10234,2.17\\r\\n"' "$(traffic)"
check "query bytes, each command with its NUL" '\x14\0*IDN?\n\0' "$(received)"

check "values, strict" $'1234.5\n2\nrc=0' "$(run_windows --lan "$addr" values 'vals?' --strict)"

# An address where nothing listens on the instrument's port, for a refused connect.
silent=127.0.0.254
while (exec 3<>"/dev/tcp/$silent/10001") 2>/dev/null; do silent=$(loopback_next "$silent"); done
check "no instrument there" "Failed to connect to IP address $silent"$'\nrc=1' "$(run_native --lan "$silent" identify)"
check "usage error" "rc=2" "$(run_windows frobnicate)"

[ "$failures" -eq 0 ]
