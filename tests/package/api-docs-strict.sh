#!/usr/bin/env bash
# api-docs-strict.sh SOURCE_ROOT
# The API reference admits no undocumented public name: with one undocumented
# function added to a copy of the public headers, Doxygen (docs/Doxyfile) must
# fail and name the header and the line. Status 77 (skipped) without doxygen.
set -uo pipefail
src=$(realpath "$1")
command -v doxygen >/dev/null || { echo "skipped: doxygen is not installed"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/docs" "$scratch/include"
cp -r "$src/docs/Doxyfile" "$src/docs/api" "$scratch/docs/"
cp -r "$src/include/duskhall" "$scratch/include/"
header=$scratch/include/duskhall/DisplayError.h
printf 'namespace duskhall {\nint undocumentedName();\n}\n' >>"$header"
line=$(grep -n 'undocumentedName' "$header" | cut -d: -f1)

output=$(cd "$scratch" && DUSKHALL_VERSION=0 DUSKHALL_API_DOCS_DIR="$scratch/out" doxygen docs/Doxyfile 2>&1)
status=$?
if [ "$status" = 0 ]; then
    echo "FAIL: doxygen accepted an undocumented public function"
    exit 1
fi
if ! grep -q "include/duskhall/DisplayError.h:$line:.*undocumentedName" <<<"$output"; then
    echo "FAIL: doxygen failed without naming DisplayError.h:$line:"
    echo "$output"
    exit 1
fi
echo "PASS: an undocumented public name fails the API reference, named by header and line"
