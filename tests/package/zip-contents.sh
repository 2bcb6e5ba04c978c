#!/usr/bin/env bash
# The Windows .zip holds a readme, the licence (the same as LICENSE) and, for each
# Windows build in it, a folder with duskhall.exe, duskhall-render.exe and the seven
# textures (the Windows stage checks that the programs find textures laid out so),
# and the library beside them: every public header, the static library, the CMake
# package and duskhall.pc (the Windows stage builds an example against it).
# Arguments: the .zip, the source tree's LICENSE.
set -euo pipefail
zip=$1 licence=$2
headers=$(cd "$(dirname "$licence")/include" && ls duskhall/*.h)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unzip -q "$zip" -d "$scratch"
top=$(echo "$scratch"/duskhall-*-windows)
[ -f "$top/README.txt" ] || { echo "FAIL: no README.txt at the top of the .zip" >&2; exit 1; }
[ -f "$top/LICENSE.txt" ] || { echo "FAIL: no LICENSE.txt at the top of the .zip" >&2; exit 1; }
cmp -s "$top/LICENSE.txt" "$licence" ||
    { echo "FAIL: the .zip's LICENSE.txt differs from $licence" >&2; exit 1; }
grep -q "MIT licence" "$top/README.txt" ||
    { echo "FAIL: the .zip's README.txt does not name the licence" >&2; exit 1; }
echo "README.txt and LICENSE.txt at the top"
folders=0
for folder in "$top"/win32 "$top"/win64; do
    [ -d "$folder" ] || continue
    folders=$((folders + 1))
    for file in duskhall.exe duskhall-render.exe wall1.png wall2.png wall3.png \
        floor1.png floor2.png floor3.png floor4.png; do
        [ -f "$folder/$file" ] || { echo "FAIL: $(basename "$folder")/$file is missing" >&2; exit 1; }
    done
    for file in $headers lib/libduskhall.a lib/cmake/Duskhall/DuskhallConfig.cmake \
        lib/cmake/Duskhall/DuskhallConfigVersion.cmake lib/cmake/Duskhall/DuskhallTargets.cmake \
        lib/pkgconfig/duskhall.pc; do
        case $file in duskhall/*) file=include/$file ;; esac
        [ -f "$folder/$file" ] || { echo "FAIL: $(basename "$folder")/$file is missing" >&2; exit 1; }
    done
    echo "$(basename "$folder"): both programs, the seven textures and the library"
done
[ "$folders" -gt 0 ] || { echo "FAIL: the .zip holds no Windows build" >&2; exit 1; }

