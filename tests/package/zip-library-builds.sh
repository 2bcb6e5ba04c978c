#!/usr/bin/env bash
# zip-library-builds.sh ZIP ARCH TOOLCHAIN WORK [EMULATOR...]
# The library in the Windows .zip, unpacked as a MinGW user would: the first
# example builds against the ARCH folder with the MinGW toolchain, through
# find_package with CMAKE_PREFIX_PATH pointing at the folder and through its
# duskhall.pc. Given the command that runs a Windows program (EMULATOR), the
# CMake build then runs and must show its window (checked from screenshots).
set -euo pipefail
zip=$(realpath "$1") arch=$2 toolchain=$(realpath "$3") work=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
examples=$here/../../examples
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd) # CMAKE_PREFIX_PATH and find_package want it absolute
unzip -q "$zip" -d "$work/unpacked"
folder=$(echo "$work"/unpacked/duskhall-*-windows/"$arch")
[ -d "$folder" ] || { echo "FAIL: the .zip has no $arch folder" >&2; exit 1; }

cmake -S "$examples" -B "$work/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$folder" >/dev/null
cmake --build "$work/cmake" --target pattern >/dev/null
# The compiler the toolchain chose, for the pkg-config build.
compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$work"/cmake/CMakeFiles/*/CMakeCXXCompiler.cmake)
# shellcheck disable=SC2046 # the flags are meant to split
"$compiler" -std=c++17 -O2 "$examples/pattern.cpp" -o "$work/pattern-pkg-config.exe" -static \
    $(PKG_CONFIG_LIBDIR="$folder/lib/pkgconfig" pkg-config --cflags --libs duskhall)
echo "the first example built against the .zip's $arch library with CMake and with pkg-config"

if [ "$#" -gt 0 ]; then
    "$here/../display/with-display" "$here/../library/run-example.sh" pattern "$work/out" \
        "$@" "$work/cmake/pattern.exe"
fi
