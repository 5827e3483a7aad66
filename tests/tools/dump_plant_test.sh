#!/usr/bin/env bash
# dump_plant_test.sh BUILD_DIR PLANT_DIR SCHEMA_SQL
# quellor-dump's machine-readable outputs as a script reads them, with Python's csv and json
# modules: every output of the sample plant after a build, and the comparison of a generated
# plant's dictionary before and after about 1% of its tags change, which must name exactly
# the tags of the changed trees. Skipped (77) without python3.
set -euo pipefail
bin=$1/bin
plant=$2
schema=$3
command -v python3 >/dev/null || { echo "dump plant test: no python3; skipped"; exit 77; }
work=$(mktemp -d /tmp/quellor-dumpplant-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "dump plant test: $*" >&2
  exit 1
}

# The sample plant, laid out as make demo lays it out, built once.
demo=$work/demo
mkdir -p "$demo/prefix/dosdevices" "$demo/c/Projects/Plant" "$demo/c/Corvane" "$demo/c/InTouch"
cp "$plant"/prefix/*.reg "$demo/prefix/"
ln -s ../../c "$demo/prefix/dosdevices/c:"
cp -r "$plant/shell" "$demo/c/Corvane/InTouchShell"
cat "$schema" "$plant/plant.sql" | sqlite3 "$demo/c/Projects/Plant/Project.mdb"
QUELLOR_PREFIX=$demo/prefix "$bin/quellor" 'C:\Projects\Plant\Project.mdb' >"$work/build.txt" 2>&1 ||
  fail "the sample plant does not build: $(cat "$work/build.txt")"

apps=$demo/c/Projects/Plant/FactorySuite/Clients/InTApps
for app in "$apps"/*/; do
  app=${app%/}
  # The used records as the text form counts them: one line per record, its number first.
  used=$("$bin/quellor-dump" tagname "$app" | grep -c '^ *[0-9][0-9]* "')
  "$bin/quellor-dump" tagname --format csv "$app" >"$work/tags.csv"
  "$bin/quellor-dump" tagname --format json "$app" >"$work/tags.json"
  for table in names points; do
    "$bin/quellor-dump" ddecfg --format csv --table "$table" "$app/DDE.CFG" >"$work/dde_$table.csv" 2>/dev/null
  done
  for table in apps filters; do
    "$bin/quellor-dump" tagbrw --format csv --table "$table" "$app/TagBrw.DAT" >"$work/brw_$table.csv"
  done
  "$bin/quellor-dump" ndx --format csv "$app/Tagnames.NDX" >"$work/ndx.csv"
  for what in "ddecfg $app/DDE.CFG" "tagbrw $app/TagBrw.DAT" "ndx $app/Tagnames.NDX"; do
    # shellcheck disable=SC2086
    "$bin/quellor-dump" --format json $what >"$work/$(basename "${what#* }").json"
  done
  python3 - "$work" "$used" <<'PY' || fail "$app: the outputs do not load as they should"
import csv, json, pathlib, sys
work, used = pathlib.Path(sys.argv[1]), int(sys.argv[2])
def rows(name):
    with open(work / name, newline="", encoding="utf-8") as f:
        return list(csv.reader(f, strict=True))
tags = rows("tags.csv")
assert len(tags) == used + 1, (len(tags), used)
assert all(len(row) == len(tags[0]) for row in tags), "rows of unequal width"
document = json.loads((work / "tags.json").read_text(encoding="utf-8"))
assert [r["record"] for r in document["records"]] == [int(row[0]) for row in tags[1:]]
assert [r["name"] for r in document["records"]] == [row[1] for row in tags[1:]]
for name in ["dde_names.csv", "dde_points.csv", "brw_apps.csv", "brw_filters.csv", "ndx.csv"]:
    table = rows(name)
    assert table and all(len(row) == len(table[0]) for row in table), name
for name in ["DDE.CFG.json", "TagBrw.DAT.json", "Tagnames.NDX.json"]:
    json.loads((work / name).read_text(encoding="utf-8"))
points = rows("dde_points.csv")[1:]
assert len(points) >= 1 and all(row[2] for row in points), "DDE points without tag names"
PY
done

# A generated plant, built twice (the first rebuild settles what a load repairs), its Unit1
# dictionary kept, then about 1% of the tags changed and built again.
read -r _ _ _ < <("$bin/make_project" plant "$work/gen" 2000 7)
build_gen() {
  QUELLOR_PREFIX=$work/gen/prefix "$bin/quellor" 'C:\Projects\Plant\Project.mdb' >"$work/gen.txt" 2>&1 ||
    fail "the generated plant does not build: $(cat "$work/gen.txt")"
}
build_gen
build_gen
unit1=$work/gen/c/Projects/Plant/FactorySuite/Clients/InTApps/Unit1
cp -r "$unit1" "$work/before"
status=0
"$bin/quellor-dump" tagname --diff "$work/before" "$unit1" >/dev/null || status=$?
[ "$status" -eq 0 ] || fail "an unchanged rebuild differs (exit $status)"

database=$work/gen/c/Projects/Plant/Project.mdb
"$bin/make_project" change "$database" 5 >/dev/null
build_gen
status=0
"$bin/quellor-dump" tagname --diff --format json "$work/before" "$unit1" >"$work/diff.json" || status=$?
[ "$status" -eq 1 ] || fail "the changed plant's diff exits with $status, not 1"
sqlite3 "$database" "SELECT DISTINCT TagName FROM TrendData WHERE FullDesc LIKE '% (changed)'" \
  >"$work/changed_trees.txt"
python3 - "$work" <<'PY' || fail "the diff does not list exactly the changed tags"
import json, pathlib, re, sys
work = pathlib.Path(sys.argv[1])
trees = set((work / "changed_trees.txt").read_text().upper().split())
diff = json.loads((work / "diff.json").read_text(encoding="utf-8"))
assert trees, "the change changed nothing"
assert diff["header"] == [], diff["header"]
kinds = {tag["change"] for tag in diff["tags"]}
assert kinds == {"changed"}, kinds
# A tag belongs to the tree its name starts with, up to a "." or "\".
listed = {re.split(r"[.\\]", tag["name"])[0].upper() for tag in diff["tags"]}
assert listed == trees, (sorted(listed ^ trees))
for tag in diff["tags"]:
    fields = {field["field"] for field in tag["fields"]}
    assert fields <= {"description", "eng_max", "raw_max", "log_deadband"}, (tag["name"], fields)
    assert "description" in fields, tag["name"]
PY
echo "dump plant test: every output loads; the diff names the $(wc -l <"$work/changed_trees.txt") changed trees exactly"
