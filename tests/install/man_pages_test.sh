#!/usr/bin/env bash
# man_pages_test.sh MAN_DIR: every manual page renders with man -l, without a warning of groff's,
# and has the sections a reader looks for.
set -euo pipefail
pages=("$1"/*.1)
[ ${#pages[@]} -ge 5 ] || { echo "man pages: only ${#pages[@]} in $1" >&2; exit 1; }
for page in "${pages[@]}"; do
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
  text=$(MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS"; do
    grep -q "^$section" <<<"$text" || { echo "$page: no $section section" >&2; exit 1; }
  done
done
