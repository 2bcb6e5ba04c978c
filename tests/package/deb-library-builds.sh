#!/usr/bin/env bash
# The library in the .deb is usable where the package was unpacked: the first
# example builds against it through pkg-config and through find_package.
# Arguments: the .deb, the examples folder.
set -euo pipefail
deb=$1 examples=$(realpath "$2")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
usr=$scratch/root/usr
pc_dir=$(dirname "$(find "$usr" -name duskhall.pc)")

# shellcheck disable=SC2046 # the flags are meant to split
g++ -std=c++17 "$examples/pattern.cpp" -o "$scratch/pattern" \
    $(PKG_CONFIG_PATH=$pc_dir pkg-config --cflags --libs duskhall)
cmake -S "$examples" -B "$scratch/build" -DCMAKE_PREFIX_PATH="$usr" >/dev/null
cmake --build "$scratch/build" --target pattern >/dev/null
echo "PASS: the packaged library builds the first example with pkg-config and with find_package"
