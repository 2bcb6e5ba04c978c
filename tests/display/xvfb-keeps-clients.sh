#!/usr/bin/env bash
# The private X server of the tests lets every client in, also one that connects
# just as another leaves: two streams of short-lived clients, none refused. (A server
# that resets when its last client leaves drops about one such client in ten.)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
unset DISPLAY
work=$(mktemp -d)
trap 'rm -rf "$work"; xvfb_stop' EXIT
xvfb_start || exit 1

connect() {
    local refused=0
    for _ in $(seq 150); do
        xdpyinfo >/dev/null 2>&1 || refused=$((refused + 1))
    done
    echo "$refused" >"$work/$1"
}
connect first & first=$!
connect second & second=$!
wait "$first" "$second"
refused=$(( $(cat "$work/first") + $(cat "$work/second") ))
if [ "$refused" != 0 ]; then
    echo "FAIL: $refused of 300 clients were refused by the server at $DISPLAY"
    exit 1
fi
echo "PASS: 300 clients, two at a time, all let in"
