#!/usr/bin/env bash
# A .deb's copyright file (in its own doc folder) gives the licence of LICENSE:
# the same copyright holder and, word for word, the same permission notice and
# disclaimer. Arguments: the .deb, the source tree's LICENSE.
set -euo pipefail
deb=$1 licence=$2

package=$(dpkg-deb -f "$deb" Package)
copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/doc/$package/copyright")
holder=$(sed -n 's/^Copyright (c) //p' "$licence")
grep -qx "Copyright: $holder" <<<"$copyright" ||
    { echo "FAIL: the .deb's copyright file does not name '$holder'" >&2; exit 1; }
# The licence text in the copyright format: each line indented by one space, an
# empty line written as " .".
expected=$(sed -n '/^Permission is hereby granted/,$p' "$licence" | sed 's/^$/./; s/^/ /')
actual=$(sed -n '/^License: Expat$/,$p' <<<"$copyright" | sed -n '/^ Permission is hereby granted/,$p')
if [ "$actual" != "$expected" ]; then
    echo "FAIL: the .deb's licence text differs from $licence:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
fi
echo "PASS: $package's copyright file carries the MIT licence of $licence"
