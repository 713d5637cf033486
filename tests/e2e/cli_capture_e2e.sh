#!/usr/bin/env bash
# Screen captures through the command-line tool against the simulator,
# each bitmap compared, row for row, with the picture the simulator writes
# of its own display (--write-screen, --write-screen-mono):
#   - a monochrome and a colour capture of the built-in picture, the
#     capture's connection in order on the transcript (reset byte,
#     "SUSPEND,ON", the screen request, "SUSPEND,OFF");
#   - the colour capture served again as the display's picture (--screen)
#     and captured again: the same file;
#   - a type 16 instrument's second screen group (the simulator's negative);
#   - a reply cut short: the program's message, exit 1, no file, and the
#     recovery bytes before the resume;
#   - the Windows tool under Wine, one monochrome capture.
set -uo pipefail
source "$CORVEXA2_SOURCE_DIR/scripts/wine-env.sh"

addr=$CORVEXA2_E2E_ADDR
tmp=$CORVEXA2_E2E_TMP
native=$CORVEXA2_NATIVE_BIN/corvexa2-cli
windows=$CORVEXA2_WINDOWS_BIN/corvexa2-cli.exe
hvxsim=$CORVEXA2_NATIVE_BIN/hvxsim
transcript=$tmp/transcript.log
source "$CORVEXA2_SOURCE_DIR/tests/e2e/lib/tool_checks.sh"

# The pixel rows of a bitmap file (everything after its 54 header bytes).
pixel_rows() { tail -c +55 "$1" | md5sum | cut -d' ' -f1; }
# Width and height from a bitmap's information header, as "WxH".
bitmap_size() { od -An -t d4 -j 18 -N 8 "$1" | awk '{ print $1 "x" $2 }'; }
same_rows() { [ -s "$1" ] && [ -s "$2" ] && [ "$(pixel_rows "$1")" == "$(pixel_rows "$2")" ] && echo same || echo different; }
exists() { [ -e "$1" ] && echo yes || echo no; }
# Reset bytes and commands of the last connection.
last_connection() {
    wait_settled
    local channel
    channel=$(grep -aE ' tcp#[0-9]+ CONNECT' "$transcript" | tail -n 1 | cut -d' ' -f2)
    grep -aE "^[^ ]+ $channel (RESET|CMD)( |$)" "$transcript" | cut -d' ' -f3-
}

"$hvxsim" --write-screen "$tmp/ref-colour.bmp" --write-screen-mono "$tmp/ref-mono.bmp" ||
    { echo "FAIL hvxsim --write-screen"; exit 1; }
"$hvxsim" --instrument wxe5 --write-screen-mono "$tmp/ref-wxe5.bmp" ||
    { echo "FAIL hvxsim --write-screen-mono"; exit 1; }

sim_start "$tmp/sim" --address "$addr" --instrument hvxa --transcript "$transcript" || exit 1
trap sim_stop EXIT

# Monochrome, then colour.
fresh_transcript
check "monochrome capture" "rc=0" "$(run_tool_native --lan "$addr" capture --out "$tmp/mono.bmp")"
check "the capture's connection, in order" $'RESET\nCMD "SUSPEND,ON"\nCMD "SCREEN?"\nCMD "SUSPEND,OFF"' \
    "$(last_connection)"
check "monochrome: 320x240" "320x240" "$(bitmap_size "$tmp/mono.bmp")"
check "monochrome: the simulator's picture" "same" "$(same_rows "$tmp/mono.bmp" "$tmp/ref-mono.bmp")"
check "colour capture" "rc=0" "$(run_tool_native --lan "$addr" capture --out "$tmp/colour.bmp" --colour)"
check "colour: the simulator's picture" "same" "$(same_rows "$tmp/colour.bmp" "$tmp/ref-colour.bmp")"
check "colour: not the monochrome one" "different" "$(same_rows "$tmp/colour.bmp" "$tmp/mono.bmp")"

# A reply cut short: nothing written.
sim_stop
sim_start "$tmp/short-sim" --address "$addr" --instrument hvxa --screen-short-line 5 --transcript "$transcript" ||
    exit 1
fresh_transcript
short=$(run_tool_native --lan "$addr" capture --out "$tmp/short.bmp")
check "short line: exit 1" "rc=1" "$(tail -n 1 <<<"$short")"
check "short line: the message" \
    "A communication error has occured while downloading the screenshot from the instrument" \
    "$(head -n 1 <<<"$short")"
check "short line: no file" "no" "$(exists "$tmp/short.bmp")"
check "short line: recovery before the resume" \
    $'RESET\nCMD "SUSPEND,ON"\nCMD "SCREEN?"\nRESET\nCMD "\\x19"\nCMD "SUSPEND,OFF"' "$(last_connection)"

# The colour capture as the display's picture, captured again.
sim_stop
sim_start "$tmp/file-sim" --address "$addr" --instrument hvxa --screen "$tmp/colour.bmp" \
    --transcript "$transcript" || exit 1
check "from a picture file" "rc=0" "$(run_tool_native --lan "$addr" capture --out "$tmp/again.bmp" --colour)"
check "from a picture file: the same bitmap" "same" "$(cmp -s "$tmp/again.bmp" "$tmp/colour.bmp" && echo same)"

# A type 16 instrument: its second group.
sim_stop
sim_start "$tmp/wxe5-sim" --address "$addr" --instrument wxe5 --transcript "$transcript" || exit 1
fresh_transcript
check "group 2" "rc=0" "$(run_tool_native --lan "$addr" capture --out "$tmp/group2.bmp" --group 2)"
check "group 2: asked for" 'CMD "SCREEN,GROUP2?"' "$(last_connection | grep SCREEN)"
check "group 2: 512x272" "512x272" "$(bitmap_size "$tmp/group2.bmp")"
# Turned over, every dark pixel is light and every light one dark.
check "group 2: the negative of the picture" "$(tail -c +55 "$tmp/ref-wxe5.bmp" | tr '\000\377' '\377\000' | md5sum)" \
    "$(tail -c +55 "$tmp/group2.bmp" | md5sum)"
check "group 1" "rc=0" "$(run_tool_native --lan "$addr" capture --out "$tmp/group1.bmp" --group 1)"
check "group 1: the picture" "same" "$(same_rows "$tmp/group1.bmp" "$tmp/ref-wxe5.bmp")"
sim_stop

# The Windows tool.
sim_start "$tmp/windows-sim" --address "$addr" --instrument hvxa --transcript "$transcript" || exit 1
check "Windows capture" "rc=0" "$(run_tool_windows --lan "$addr" capture --out "$(windows_path "$tmp/win.bmp")" |
    tail -n 1)"
check "Windows: the simulator's picture" "same" "$(same_rows "$tmp/win.bmp" "$tmp/ref-mono.bmp")"

[ "$failures" -eq 0 ]
