#!/usr/bin/env bash
# deb-library-builds.sh ROOT EXAMPLES WORK
# The library as the two library packages install it (unpacked together into ROOT)
# builds the first example through pkg-config and through find_package, and both
# builds, linked to the runtime package's libduskhall.so.0, show its window
# (checked from screenshots under Xvfb).
set -euo pipefail
root=$(realpath "$1") examples=$(realpath "$2") work=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
pc_dir=$(dirname "$(find "$root/usr/lib" -name duskhall.pc)")
libdir=$(PKG_CONFIG_PATH=$pc_dir pkg-config --variable=libdir duskhall)

# shellcheck disable=SC2046 # the flags are meant to split
g++ -std=c++17 "$examples/pattern.cpp" -o "$work/pattern-pkg-config" \
    $(PKG_CONFIG_PATH=$pc_dir pkg-config --cflags --libs duskhall) -Wl,-rpath,"$libdir"
cmake -S "$examples" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$work/cmake" --target pattern >/dev/null

status=0
for program in "$work/pattern-pkg-config" "$work/cmake/pattern"; do
    libraries=$(ldd "$program")
    if ! grep -q "libduskhall.so.0 => $root/" <<<"$libraries"; then
        echo "FAIL: $program is not linked to the unpacked libduskhall.so.0:"
        echo "$libraries"
        status=1
    elif ! "$here/../display/with-display" "$here/../library/run-example.sh" pattern \
        "$work/out-$(basename "$(dirname "$program")")" "$program"; then
        status=1
    fi
done
[ "$status" = 0 ] &&
    echo "PASS: the packaged library builds the first example with pkg-config and with find_package, and both run"
exit "$status"
