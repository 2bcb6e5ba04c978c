#!/usr/bin/env bash
# The Windows renderer draws the same frames as the Linux one: the CRC lines of
# duskhall-render.exe under Wine equal those of the native duskhall-render.
# Arguments: duskhall-render.exe, the native duskhall-render, the texture folder.
# Exits 77 (skipped) when the native program has not been built.
set -euo pipefail
source "$(dirname "$0")/common.sh"
exe=$1 native=$2 textures=$3
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
