#!/usr/bin/env bash
# deb-man-pages.sh DEB: the package carries both programs' manual pages, compressed,
# and each one renders.
set -uo pipefail
deb=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch" || { echo "FAIL: cannot unpack $deb"; exit 1; }
status=0
for program in duskhall duskhall-render; do
  page=$scratch/usr/share/man/man1/$program.1.gz
  if [ ! -f "$page" ]; then
    echo "FAIL: $deb has no usr/share/man/man1/$program.1.gz"
    status=1
  # (grep reads all of it: an early exit would fail man with SIGPIPE under pipefail)
  elif ! grep -q "^ *$program - " <<<"$(MANWIDTH=80 man -l -P cat "$page" 2>/dev/null)"; then
    echo "FAIL: usr/share/man/man1/$program.1.gz in $deb does not render as its page"
    status=1
  fi
done
[ "$status" = 0 ] && echo "PASS: $deb carries the manual pages of duskhall and duskhall-render"
exit "$status"
