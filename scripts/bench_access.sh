#!/usr/bin/env bash
# bench_access.sh BUILD_DIR: the Access table of `make bench`, with the programs of a release
# BUILD_DIR. Medians of RUNS runs (default 5), measured by bench/measure.cpp:
#  - the import of the test file nwind.mdb by quellor-import, against mdb-export -b raw of
#    the same tables to /dev/null; both write into a memory file system, so that the import's
#    sync is not counted;
#  - attaching nwind.mdb through its cached image, against attaching nwind.mdb's import as an
#    SQLite project (quellor on each; neither is a plant, so each build ends at the missing
#    flags query, and the difference is the cost of the Access file's attach);
#  - the largest generated plant (SIZE, default 59990) built with its saved queries in SQLite
#    SQL and in Access SQL (examples/plant/access_queries.sql), which the library translates.
set -euo pipefail
build_dir=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
bin=$build_dir/bin
runs=${RUNS:-5}
size=${SIZE:-59990}
seed=${SEED:-1}
nwind=$source_dir/tests/testdata/access/nwind.mdb
work=$build_dir/bench-access
scratch=$(mktemp -d /dev/shm/quellor-bench.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
rm -rf "$work"
mkdir -p "$work"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# measure NAME COMMAND...: appends "wall cpu rss_kb" to $work/NAME.times.
measure() {
  local name=$1
  shift
  "$bin/measure" "$work/time.out" "$@" >/dev/null 2>>"$work/$name.log"
  cat "$work/time.out" >>"$work/$name.times"
}
wall() { awk '{ print $1 }' "$work/$1.times" | median; }
row() {
  printf "%-44s %8.4f %8.4f %8.1f\n" "$1" "$(wall "$1")" \
    "$(awk '{ print $2 }' "$work/$1.times" | median)" \
    "$(awk '{ print $3 / 1024 }' "$work/$1.times" | median)"
}

tables=()
while IFS= read -r table; do tables+=("$table"); done < <(mdb-tables -1 "$nwind")
export_all() {
  for table in "${tables[@]}"; do mdb-export -b raw "$nwind" "$table" >/dev/null; done
}
export -f export_all
export nwind
echo "bench: importing nwind.mdb" >&2
for ((r = 0; r < runs; ++r)); do
  measure "import nwind.mdb (quellor-import)" \
    "$bin/quellor-import" --force "$nwind" "$scratch/nwind.sqlite"
  measure "export nwind.mdb (mdb-export -b raw)" \
    bash -c "$(declare -p tables); export_all"
done

echo "bench: attaching nwind.mdb through its image and as SQLite" >&2
machine=$work/machine
mkdir -p "$machine/prefix" "$machine/access" "$machine/sqlite"
cp "$nwind" "$machine/access/Project.mdb"
"$bin/quellor-import" "$nwind" "$machine/sqlite/Project.mdb"
QUELLOR_PREFIX=$machine/prefix "$bin/quellor" "$machine/access/Project.mdb" >/dev/null  # the image
attach_runs=$((runs * 4))
for ((r = 0; r < attach_runs; ++r)); do
  measure "attach: Access file, cached image" \
    env "QUELLOR_PREFIX=$machine/prefix" "$bin/quellor" "$machine/access/Project.mdb"
  measure "attach: the same as an SQLite project" \
    env "QUELLOR_PREFIX=$machine/prefix" "$bin/quellor" "$machine/sqlite/Project.mdb"
done

echo "bench: a plant of $size tags with SQLite and with Access saved queries" >&2
"$bin/make_project" plant "$work/plant" "$size" "$seed" >/dev/null
cp -a "$work/plant" "$work/plant-access"
sqlite3 "$work/plant-access/c/Projects/Plant/Project.mdb" <"$source_dir/examples/plant/access_queries.sql"
for ((r = 0; r < runs; ++r)); do
  for variant in plant plant-access; do
    rm -rf "$work/built"
    cp -a "$work/$variant" "$work/built"
    sync
    name="first build, $size tags, SQLite queries"
    [ "$variant" = plant-access ] && name="first build, $size tags, Access queries"
    measure "$name" env "QUELLOR_PREFIX=$work/built/prefix" "$bin/quellor" \
      'C:\Projects\Plant\Project.mdb'
    name="rebuild, $size tags, SQLite queries"
    [ "$variant" = plant-access ] && name="rebuild, $size tags, Access queries"
    measure "$name" env "QUELLOR_PREFIX=$work/built/prefix" "$bin/quellor" \
      'C:\Projects\Plant\Project.mdb'
  done
done

echo
echo "Access project databases: medians of $runs runs ($attach_runs for the attaches)"
printf "%-44s %8s %8s %8s\n" "step" "wall s" "cpu s" "peak MB"
for name in "import nwind.mdb (quellor-import)" "export nwind.mdb (mdb-export -b raw)" \
            "attach: Access file, cached image" "attach: the same as an SQLite project" \
            "first build, $size tags, SQLite queries" "first build, $size tags, Access queries" \
            "rebuild, $size tags, SQLite queries" "rebuild, $size tags, Access queries"; do
  row "$name"
done
awk -v import="$(wall "import nwind.mdb (quellor-import)")" \
    -v export_="$(wall "export nwind.mdb (mdb-export -b raw)")" \
    -v access="$(wall "attach: Access file, cached image")" \
    -v sqlite="$(wall "attach: the same as an SQLite project")" \
    -v build="$(wall "first build, $size tags, SQLite queries")" \
    -v build_access="$(wall "first build, $size tags, Access queries")" \
    -v rebuild="$(wall "rebuild, $size tags, SQLite queries")" \
    -v rebuild_access="$(wall "rebuild, $size tags, Access queries")" '
  BEGIN {
    printf "Import speed / mdb-export speed:                %6.2f\n", export_ / import
    printf "Cached Access attach over SQLite attach:        %+7.4f s\n", access - sqlite
    printf "First build over an Access project / SQLite:    %6.3f\n", (build_access + access - sqlite) / build
    printf "Rebuild over an Access project / SQLite:        %6.3f\n", (rebuild_access + access - sqlite) / rebuild
  }'
