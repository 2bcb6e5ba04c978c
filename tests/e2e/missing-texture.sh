#!/usr/bin/env bash
# With a texture missing, duskhall.exe shows the "Housekeeping error" box and ends
# with a non-zero status once it is dismissed. Arguments: duskhall.exe, the folder
# with the textures, a scratch folder.
set -euo pipefail
source "$(dirname "$0")/common.sh"
e2e_need_display "$@"
exe=$1 textures=$2 out=$3

rm -rf "$out"
mkdir -p "$out"
cp "$textures"/*.png "$out/"
rm "$out/wall2.png"

cd "$out"
"${wine_run[@]}" "$exe" >"$out/demo.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

box=$(e2e_wait_window '^Housekeeping error$' 60) || e2e_fail "no \"Housekeeping error\" box appeared"
echo "message box $box"
kill -0 "$pid" 2>/dev/null || e2e_fail "the program did not wait for the box"
sleep 0.5
import -window root "$out/box.png"
e2e_key "$box" Return
e2e_wait_exit "$pid" 30 || e2e_fail "duskhall.exe still runs after the box was dismissed"
trap - EXIT
[ "$e2e_status" != 0 ] || e2e_fail "a missing texture ended with status 0"
echo "PASS: box shown, exit status $e2e_status"
