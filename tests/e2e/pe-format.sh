#!/usr/bin/env bash
# The Windows programs are console programs of their build's architecture: PE32 for
# i386 in the 32-bit build, PE32+ for x86-64 in the 64-bit one. A wrong toolchain or
# a GUI subsystem would build and still pass the other suites under Wine.
# Arguments: win32 or win64, then the programs.
set -euo pipefail
arch=$1
shift
case "$arch" in
    win32) want_machine=014c want_magic=010b kind=PE32 ;;
    win64) want_machine=8664 want_magic=020b kind=PE32+ ;;
    *) echo "FAIL: unknown build $arch" >&2; exit 1 ;;
esac

# A little-endian number of $3 bytes at offset $2 of file $1, as hexadecimal digits.
field() {
    od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n' | fold -w2 | tac | tr -d '\n'
}

for exe in "$@"; do
    [ "$(head -c 2 "$exe")" = MZ ] || { echo "FAIL: $exe has no MZ header" >&2; exit 1; }
    header=$((16#$(field "$exe" 60 4)))
    [ "$(od -An -c -j "$header" -N 2 "$exe" | tr -d ' ')" = PE ] ||
        { echo "FAIL: $exe has no PE signature" >&2; exit 1; }
    machine=$(field "$exe" $((header + 4)) 2)
    magic=$(field "$exe" $((header + 24)) 2)
    subsystem=$(field "$exe" $((header + 24 + 68)) 2)
    echo "$(basename "$exe"): machine $machine, optional header $magic, subsystem $subsystem"
    [ "$machine" = "$want_machine" ] || { echo "FAIL: machine $machine, want $want_machine" >&2; exit 1; }
    [ "$magic" = "$want_magic" ] || { echo "FAIL: not $kind (optional header $magic)" >&2; exit 1; }
    [ "$subsystem" = 0003 ] || { echo "FAIL: subsystem $subsystem, not console (0003)" >&2; exit 1; }
done
echo "PASS: $kind console programs"
