#!/usr/bin/env bash
# The Windows examples: installs this cross build into a fresh prefix, builds the
# examples against that install tree with the same toolchain, as a MinGW user
# would, and runs each under Wine, checking its window from screenshots.
# Arguments: the cross build folder, its toolchain file, its emulator (the
# command that runs a Windows program, as a CMake list), a scratch folder.
set -euo pipefail
build=$1 toolchain=$2 work=$4
IFS=';' read -r -a emulator <<<"$3"
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ -z "${DISPLAY:-}" ]; then
    exec "$root/tests/display/with-display" bash "$0" "$@"
fi

rm -rf "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
# A cross toolchain searches packages only below its root paths; naming the
# package folder reaches an install tree anywhere.
cmake -S "$root/examples" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DDuskhall_DIR="$work/prefix/lib/cmake/Duskhall" >/dev/null
cmake --build "$work/build"

status=0
for example in pattern float-frames; do
    "$here/run-example.sh" "$example" "$work/out" "${emulator[@]}" "$work/build/$example.exe" ||
        status=1
done
exit "$status"
