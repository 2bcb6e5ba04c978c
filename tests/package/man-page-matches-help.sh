#!/usr/bin/env bash
# man-page-matches-help.sh PROGRAM PAGE
# The page renders without a complaint, and the options its OPTIONS section
# describes are exactly those the program's --help names, as are the ones its
# SYNOPSIS lists. Status 77 (skipped) without the page or anything to render it.
set -uo pipefail
program=$1
page=$2
name=$(basename "$page" .1)

if [ ! -f "$page" ]; then
  echo "skipped: $page was not built (scdoc was not found when the build was configured)"
  exit 77
fi

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
if command -v man >/dev/null; then
  render=(man --warnings -E UTF-8 -l -P cat "$page")
elif command -v groff >/dev/null; then
  render=(groff -man -Tutf8 -ww -P-cbou "$page")
else
  echo "skipped: neither man nor groff is installed to render $page"
  exit 77
fi
text=$(MANWIDTH=200 "${render[@]}" 2>"$errors")
render_status=$?
if [ "$render_status" != 0 ] || [ -s "$errors" ]; then
  echo "FAIL: ${render[*]} ended with status $render_status:"
  cat "$errors"
  exit 1
fi
if ! grep -q "^NAME" <<<"$text" || ! grep -q "^ *$name - " <<<"$text"; then
  echo "FAIL: $page renders without a NAME section for $name:"
  head -n 10 <<<"$text"
  exit 1
fi

options_in() { grep -o -- '--[a-z][a-z0-9-]*' | sort -u; }
# The lines of one section: from its heading up to the next heading.
section() { awk -v want="$1" '/^[A-Z]/ { inside = ($0 == want); next } inside'; }

help_options=$("$program" --help | options_in)
# In OPTIONS each option heads its own entry, indented less than its text.
page_options=$(section OPTIONS <<<"$text" | grep -E '^ {1,8}--' | options_in)
synopsis_options=$(section SYNOPSIS <<<"$text" | options_in)

status=0
compare() {
  local what=$1 found=$2
  local missing extra
  missing=$(comm -23 <(echo "$help_options") <(echo "$found"))
  extra=$(comm -13 <(echo "$help_options") <(echo "$found"))
  if [ -n "$missing" ]; then
    echo "FAIL: --help of $name names options its page's $what lacks:" $missing
    status=1
  fi
  if [ -n "$extra" ]; then
    echo "FAIL: the page's $what names options --help of $name lacks:" $extra
    status=1
  fi
}
if [ -z "$help_options" ]; then
  echo "FAIL: $program --help names no options"
  exit 1
fi
compare OPTIONS "$page_options"
compare SYNOPSIS "$synopsis_options"
[ "$status" = 0 ] && echo "$name: page and --help agree on" $help_options
exit "$status"
