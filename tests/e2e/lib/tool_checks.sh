# Shared steps of the end-to-end scripts that run the command-line tool
# against the simulator. Sourced after the script has set:
#   native, windows   the native tool and corvexa2-cli.exe
#   tmp               its scratch folder
#   transcript        the simulator's transcript file
#
#   check NAME EXPECTED ACTUAL   compare, print "ok"/"FAIL" with both texts, count failures
#   run_tool_native ARGS...      the native tool: its standard output, then "rc=N"
#   run_tool_windows ARGS...     the same for the Windows tool under Wine (CR removed)
#   wait_settled                 wait (at most 10 s) until the simulator has seen every TCP connection close
#   fresh_transcript             empty the transcript once the traffic so far is in
#   traffic                      reset bytes, commands and replies since then, one per line
#   commands                     the commands alone
#   received                     every byte received, joined (however the receives split it)
#   windows_path PATH            the Windows form of a Unix path (drive Z: is /)
#   well_formed FILE             "yes" when FILE is well-formed XML (xmllint, else Python's parser)
#   count_of FILE PATTERN        how many lines of FILE match PATTERN

failures=0

check() {
    if [ "$2" == "$3" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1"
        echo "     expected: $(printf '%q' "$2")"
        echo "     actual:   $(printf '%q' "$3")"
        failures=$((failures + 1))
    fi
}

run_tool_native() { "$native" "$@" 2>"$tmp/err.txt"; echo "rc=$?"; }
run_tool_windows() { "$WINE64" "$windows" "$@" 2>"$tmp/err.txt" | tr -d '\r'; echo "rc=${PIPESTATUS[0]}"; }

# TCP connections only: the serial port stays connected.
settled() { [ "$(grep -acE ' tcp#[0-9]+ CONNECT ' "$transcript")" -eq "$(grep -acE ' tcp#[0-9]+ CLOSE$' "$transcript")" ]; }
wait_settled() { for _ in $(seq 100); do settled && return 0; sleep 0.1; done; return 1; }
fresh_transcript() { wait_settled; : >"$transcript"; }
traffic() { wait_settled; grep -aE ' (RESET|CMD|OUT)( |$)' "$transcript" | cut -d' ' -f3-; }
commands() { wait_settled; grep -aE ' CMD ' "$transcript" | cut -d' ' -f4-; }
received() { wait_settled; sed -n 's/^[^ ]* [^ ]* IN "\(.*\)"$/\1/p' "$transcript" | tr -d '\n'; }

windows_path() { local path=${1//\//\\}; printf 'Z:%s\n' "$path"; }
well_formed() {
    if command -v xmllint >/dev/null 2>&1; then
        xmllint --noout "$1" 2>&1 && echo yes
    else
        python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$1" 2>&1 && echo yes
    fi
}
count_of() { grep -c -- "$2" "$1"; }
