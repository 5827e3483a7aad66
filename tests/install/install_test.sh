#!/usr/bin/env bash
# install_test.sh CMAKE BUILD_DIR ACCESS_FILE
# Installs the build with `cmake --install` into a temporary prefix and uses only what was
# installed: quellor-prefix makes a machine, quellor builds the sample plant of share/quellor,
# and then a project whose Project.mdb is an Access file, attached through the installed import
# helper (that project has no qProjectFlags, which the build reports; it still exits with 0).
set -euo pipefail
cmake=$1
build=$2
access_file=$3
work=$(mktemp -d /tmp/quellor-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "install test: $*" >&2
  exit 1
}

usr=$work/usr
"$cmake" --install "$build" --prefix "$usr" >/dev/null
for path in bin/quellor bin/quellor-dump bin/buildwin bin/quellor-import bin/quellor-prefix \
    share/quellor/schema.sql share/quellor/plant/plant.sql share/quellor/shell/Tagname.X \
    share/man/man1/quellor.1 share/man/man1/quellor-prefix.1 \
    share/doc/quellor/formats/Tagname.X.md share/bash-completion/completions/quellor-dump; do
  [ -e "$usr/$path" ] || fail "the installation lacks $path"
done
library=$(find "$usr" -name libtagdll.so)
[[ $library == "$usr"/lib*/quellor/libtagdll.so ]] || fail "libtagdll.so is not in a private folder: $library"

machine=$work/machine
drive_c=$work/c
"$usr/bin/quellor-prefix" create --prefix "$machine" --drive "C:=$drive_c" >/dev/null ||
  fail "quellor-prefix create failed"
"$usr/bin/quellor-prefix" check --prefix "$machine" >"$work/check" ||
  fail "quellor-prefix check: $(grep MISSING "$work/check")"

project=$drive_c/Projects/Plant
mkdir -p "$project"
cat "$usr/share/quellor/schema.sql" "$usr/share/quellor/plant/plant.sql" |
  sqlite3 "$project/Project.mdb"
QUELLOR_PREFIX=$machine "$usr/bin/quellor" --strict 'C:\Projects\Plant\Project.mdb' \
  >"$work/out" 2>"$work/err" || fail "the plant's build failed: $(cat "$work/err")"
[ ! -s "$work/err" ] || fail "the plant's build wrote to standard error: $(cat "$work/err")"
unit1=$project/FactorySuite/Clients/InTApps/Unit1
grep -qF 'Created file C:\PROJECTS\PLANT\FactorySuite\Clients\InTApps\Unit1\DDE.CFG' "$work/out" ||
  fail "the plant's build made no DDE.CFG for Unit1"
"$usr/bin/quellor-dump" tagname "$unit1" >/dev/null || fail "Unit1 has no sound Tagname.X"
grep -qF 'Unit1' "$drive_c/InTouch/AppList.INI" || fail "Unit1 is not in AppList.INI"

access_project=$work/access
mkdir -p "$access_project"
cp "$access_file" "$access_project/Project.mdb"
status=0
QUELLOR_PREFIX=$machine "$usr/bin/quellor" "$access_project" >"$work/out" 2>"$work/err" ||
  status=$?
[ "$status" -eq 0 ] || fail "the Access project's build exited with $status: $(cat "$work/err")"
grep -qF 'ERROR - Failed to prepare query qProjectFlags' "$work/out" ||
  fail "the Access project was not attached: $(cat "$work/out" "$work/err")"
[ -n "$(ls "$machine/cache/access")" ] || fail "no SQLite image of the Access file in the cache"
