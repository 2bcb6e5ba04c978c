#!/usr/bin/env bash
# The .deb's duskhall-render, unpacked into a scratch folder and started from
# another (empty) folder, finds the textures installed with it and draws the
# same frames as the build tree's, of the built-in level and of an installed
# sample level. Arguments: the .deb, the build tree's duskhall-render, the folder
# with the textures, the folder with the levels.
set -euo pipefail
deb=$1 native=$(realpath "$2") textures=$3 levels=$(realpath "$4")
frames=1,2,3,100,475,1000,6566

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
mkdir "$scratch/elsewhere"

expected=$(cd "$textures" && "$native" --crc "$frames")
actual=$(cd "$scratch/elsewhere" && "$scratch/root/usr/bin/duskhall-render" --crc "$frames")
echo "$actual"
if [ "$(echo "$expected" | wc -l)" != 7 ]; then
    echo "FAIL: the build tree's renderer printed no 7 CRC lines" >&2
    exit 1
fi
if [ "$actual" != "$expected" ]; then
    echo "FAIL: the unpacked renderer's CRCs differ from the build tree's:" >&2
    echo "$expected" >&2
    exit 1
fi

# The level's textures come from the installed ones too.
level=courtyard.json
expected=$(cd "$textures" && "$native" --level "$levels/$level" --crc 1,200)
actual=$(cd "$scratch/elsewhere" &&
    "$scratch/root/usr/bin/duskhall-render" --level "$scratch/root/usr/share/duskhall/levels/$level" --crc 1,200)
if [ -z "$expected" ] || [ "$actual" != "$expected" ]; then
    echo "FAIL: the installed $level draws '$actual', the source tree's '$expected'" >&2
    exit 1
fi
echo "PASS: the unpacked duskhall-render found its textures and drew the build tree's frames," \
    "also of the installed $level"
