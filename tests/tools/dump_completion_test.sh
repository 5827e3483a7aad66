#!/usr/bin/env bash
# dump_completion_test.sh COMPLETION_FILE: quellor-dump's bash completion offers each
# subcommand's options and the values of --format and --table that the tool takes.
set -euo pipefail
# shellcheck source=/dev/null
source "$1"
failed=0
expect() {
  local want=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _quellor_dump
  if [ "${COMPREPLY[*]}" != "$want" ]; then
    echo "completion of '${COMP_WORDS[*]}': '${COMPREPLY[*]}', not '$want'" >&2
    failed=1
  fi
}
expect "tagname tagbrw" quellor-dump ta
expect "--format --diff" quellor-dump tagname --
expect "--format --table" quellor-dump ddecfg --
expect "--format" quellor-dump ndx --
expect "text json csv" quellor-dump tagname --format ""
expect "names points" quellor-dump ddecfg --format csv --table ""
expect "apps filters" quellor-dump tagbrw --table ""
expect "" quellor-dump ndx --table ""
exit "$failed"
