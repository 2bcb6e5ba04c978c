#!/usr/bin/env bash
# The Windows renderer draws the same frames as the Linux one: the CRC lines of
# duskhall-render.exe under Wine equal those of the native duskhall-render, for
# the scripted animation and for a replayed walk with its trace.
# Arguments: duskhall-render.exe, the native duskhall-render, the texture folder.
# Exits 77 (skipped) when the native program has not been built.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd) # the paths below are taken after the cd
source "$here/common.sh"
exe=$1 native=$2 textures=$3
walk="$(cd "$here/../renderer/walks" && pwd)/into-the-moving-room.walk"
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

# Level files: the built-in level's file gives the built-in frames, and a level
# with steps, a moving floor and textures per side gives the native frames and
# trace on a walk; a broken one ends with status 2 and its message.
levels="$(cd "$here/../../levels" && pwd)"
corridor="$(cd "$here/../fuzz/level-corpus" && pwd)/corridor.json"
expected=$("$native" --crc 1,2,3,6566)
actual=$("${wine_run[@]}" "$exe" --level "$levels/duskhall.json" --crc 1,2,3,6566 | tr -d '\r')
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") | head -20
    e2e_fail "levels/duskhall.json does not give the built-in frames"
fi
echo "PASS: levels/duskhall.json gives the built-in CRC lines under Wine"
expected=$("$native" --level "$corridor" --walk "$walk" --trace --crc "$walk_frames")
actual=$("${wine_run[@]}" "$exe" --level "$corridor" --walk "$walk" --trace --crc "$walk_frames" |
         tr -d '\r')
[ "$(echo "$expected" | wc -l)" = 671 ] || e2e_fail "the native level walk printed no 671 lines"
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") | head -20
    e2e_fail "the level walk's trace or CRC lines differ"
fi
echo "PASS: the same level walk trace and CRC lines under Wine"
broken=$(mktemp -d)
trap 'rm -rf "$broken"' EXIT
sed 's/"floor": 0.0/"floor": 9.0/' "$levels/duskhall.json" >"$broken/broken.json"
status=0
"${wine_run[@]}" "$exe" --level "$broken/broken.json" --crc 1 >/dev/null 2>"$broken/err" ||
    status=$?
message=$(tr -d '\r' <"$broken/err")
[ "$status" = 2 ] || e2e_fail "a broken level ended with status $status, not 2"
case "$message" in
    *"broken.json: sectors[0]: floor 9 is not below ceiling 3"*) ;;
    *) e2e_fail "a broken level's message is \"$message\"" ;;
esac
echo "PASS: a broken level ends with status 2 and names its problem under Wine"

# Maps others made: three Freedoom maps (a first episode's, a first and a large
# second-game map) give the native frames at two sizes, and the Lantern Yard (light,
# textures of several sizes, see-through middles, a sky) the native walk.
for map in freedoom1.wad:E1M1 freedoom2.wad:MAP01 freedoom2.wad:MAP12; do
    wad=/usr/share/games/doom/${map%%:*}
    if [ ! -f "$wad" ]; then
        echo "SKIP: $map (the freedoom package is not installed: no $wad)"
        continue
    fi
    for size in 320x240 1920x1080; do
        expected=$("$native" --level "$wad:${map#*:}" --size "$size" --crc 1,2 2>/dev/null)
        actual=$("${wine_run[@]}" "$exe" --level "$wad:${map#*:}" --size "$size" --crc 1,2 \
                 2>/dev/null | tr -d '\r')
        [ "$(echo "$expected" | wc -l)" = 2 ] || e2e_fail "the native $map printed no 2 CRC lines"
        if [ "$actual" != "$expected" ]; then
            diff <(echo "$expected") <(echo "$actual") | head -20
            e2e_fail "$map at $size: the CRC lines differ"
        fi
        echo "PASS: $map at $size gives the native CRC lines under Wine"
    done
done
yard="$levels/lantern-yard.json"
yard_walk="$(cd "$here/../renderer/walks" && pwd)/lantern-yard.walk"
yard_frames=$(seq -s, 25 25 1275)
expected=$("$native" --level "$yard" --walk "$yard_walk" --trace --crc "$yard_frames")
actual=$("${wine_run[@]}" "$exe" --level "$yard" --walk "$yard_walk" --trace --crc "$yard_frames" |
         tr -d '\r')
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") | head -20
    e2e_fail "the Lantern Yard walk's trace or CRC lines differ"
fi
echo "PASS: the same Lantern Yard walk trace and CRC lines under Wine"
