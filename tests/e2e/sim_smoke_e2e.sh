#!/usr/bin/env bash
# Smoke test of the end-to-end world: the native simulator starts on this
# script's loopback address and answers an identification query over TCP
# with the maker's name.
set -euo pipefail

sim=$CORVEXA2_NATIVE_BIN/hvxsim
out=$CORVEXA2_E2E_TMP/hvxsim.out
"$sim" --address "$CORVEXA2_E2E_ADDR" >"$out" 2>"$CORVEXA2_E2E_TMP/hvxsim.err" </dev/null &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null' EXIT

for _ in $(seq 300); do
    grep -q '^hvxsim ready ' "$out" && break
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q "^hvxsim ready tcp=$CORVEXA2_E2E_ADDR:10001 " "$out"; then
    echo "no ready line from the simulator:"
    cat "$out" "$CORVEXA2_E2E_TMP/hvxsim.err"
    exit 1
fi

# Over TCP every command ends with a NUL byte after its line feed.
exec 3<>"/dev/tcp/$CORVEXA2_E2E_ADDR/10001"
printf '*IDN?\n\0' >&3
reply=
IFS= read -r -t 30 reply <&3 || true
exec 3<&-
reply=${reply%$'\r'}
case "$reply" in
    ZELVORIAN,*) echo "identity: $reply" ;;
    *) echo "unexpected reply to *IDN?: '$reply'"; exit 1 ;;
esac
