#!/usr/bin/env bash
# duskhall.exe opens its window, shows textured frames, and ends with status 0 on
# Escape. Arguments: duskhall.exe, the folder with the textures, an output folder
# for the screenshot.
set -euo pipefail
source "$(dirname "$0")/common.sh"
e2e_need_display "$@"
exe=$1 textures=$2 out=$3
mkdir -p "$out"

cd "$textures"
"$wine_run" "$exe" >"$out/demo.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

window=$(e2e_wait_window '^duskhall$' 60) || e2e_fail "no duskhall window appeared"
# Let the camera move for a while so the frame is a real one, not the first.
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window at $X,$Y size ${WIDTH}x$HEIGHT"
[ "$WIDTH" = 320 ] && [ "$HEIGHT" = 240 ] || e2e_fail "client area is ${WIDTH}x$HEIGHT, not 320x240"

import -window root "$out/screen.png"
convert "$out/screen.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$out/client.png"
read -r mean deviation colours < <(convert "$out/client.png" -colorspace Gray \
    -format '%[fx:mean] %[fx:standard_deviation] ' info: && convert "$out/client.png" -format '%k\n' info:)
echo "client area: mean $mean, deviation $deviation, $colours colours ($out/client.png)"
awk -v m="$mean" 'BEGIN { exit !(m > 0.05) }' || e2e_fail "client area is black"
awk -v d="$deviation" 'BEGIN { exit !(d > 0.05) }' || e2e_fail "client area is uniform"
[ "$colours" -gt 100 ] || e2e_fail "only $colours colours: not a textured frame"

e2e_key "$window" Escape
e2e_wait_exit "$pid" 30 || e2e_fail "duskhall.exe still runs after Escape"
trap - EXIT
[ "$e2e_status" = 0 ] || e2e_fail "exit status $e2e_status after Escape"
echo "PASS: textured frame shown, Escape ended with status 0"
