#!/usr/bin/env bash
# The Windows renderer draws the same frames as the Linux one: the CRC lines of
# duskhall-render.exe under Wine equal those of the native duskhall-render, for
# the scripted animation and for a replayed walk with its trace.
# Arguments: duskhall-render.exe, the native duskhall-render, the texture folder.
# Exits 77 (skipped) when the native program has not been built.
set -euo pipefail
source "$(dirname "$0")/common.sh"
exe=$1 native=$2 textures=$3
walk="$(cd "$(dirname "$0")/../renderer/walks" && pwd)/into-the-moving-room.walk"
# Every frame of the first hundred (a rounding slip shows up in a few frames only),
# then a few far into the animation, up to the first frame with a corner ray.
frames="$(seq -s, 1 100),1000,5000,6566"
count=103

if [ ! -x "$native" ]; then
    echo "SKIP: no native $native (build the linux preset first)"
    exit 77
fi
cd "$textures"
expected=$("$native" --crc "$frames")
# Windows text mode ends lines with CR LF.
actual=$("${wine_run[@]}" "$exe" --crc "$frames" | tr -d '\r')
echo "native:"
echo "$expected"
[ "$(echo "$expected" | wc -l)" = "$count" ] || e2e_fail "the native renderer printed no $count CRC lines"
if [ "$actual" != "$expected" ]; then
    echo "windows:"
    echo "$actual"
    e2e_fail "the CRC lines differ"
fi
echo "PASS: the same $count CRC lines under Wine"

# A walk through the moving room, wall stops and portal crossings included: the
# trace of every frame and the CRC of every tenth.
walk_frames=$(seq -s, 10 10 610)
expected=$("$native" --walk "$walk" --trace --crc "$walk_frames")
actual=$("${wine_run[@]}" "$exe" --walk "$walk" --trace --crc "$walk_frames" | tr -d '\r')
[ "$(echo "$expected" | wc -l)" = 671 ] || e2e_fail "the native walk printed no 671 lines"
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") | head -20
    e2e_fail "the walk's trace or CRC lines differ"
fi
echo "PASS: the same walk trace and CRC lines under Wine"
