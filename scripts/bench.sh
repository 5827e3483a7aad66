#!/usr/bin/env bash
# bench.sh BUILD_DIR: the scale table of `make bench`, with the quellor and make_project of a
# release BUILD_DIR.
#
# For each size, a generated plant (bench/plant_generator.h) is built by quellor as the suite
# runs it: a first build on a fresh copy, a rebuild without change, and a rebuild after 1% of
# the tags changed, each RUNS times (default 5); the table gives the medians of wall time,
# CPU time (user + system) and peak resident memory, measured by bench/measure.cpp. Two floors,
# measured in the same run, each with the project's queries once, run by SQLite (the sqlite3
# program): qFTTrdData whole, every top-level tag's server computer in one join, and the
# historian nodes' logged rows with their computers (the join the build runs for them). One
# dictionary adds copying the fullest application's Tagname.X and Tag_Ext.X once; all
# dictionaries adds copying every application's Tagname.X and Tag_Ext.X once, what a build
# cannot avoid reading and writing. Then the Google Benchmarks of BUILD_DIR/bin run, each
# briefly.
set -euo pipefail
build_dir=$(cd "$1" && pwd)
bin=$build_dir/bin
work=$build_dir/bench
runs=${RUNS:-5}
# The largest fills each dictionary close to its 60000 records: the shell brings two.
sizes=${SIZES:-"6000 20000 59990"}
seed=${SEED:-1}

rm -rf "$work"
mkdir -p "$work"
results=$work/results.txt
: >"$results"

# median FILE: the median of the numbers in FILE, one a line.
median() { sort -g "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# measure NAME SIZE COMMAND...: runs COMMAND under bench/measure.cpp, appending "wall cpu
# rss_kb" to $work/SIZE/NAME.times. Standard error goes to $work/SIZE/NAME.log, and standard
# output too except for the floor's, which is the data delivered.
measure() {
  local name=$1 size=$2 out
  shift 2
  out=$work/$size/$name.log
  [[ $name == floor* ]] && out=/dev/null
  "$bin/measure" "$work/$size/time.out" "$@" >>"$out" 2>>"$work/$size/$name.log"
  cat "$work/$size/time.out" >>"$work/$size/$name.times"
}

# The command line of quellor on the plant at ROOT, as the suite runs it.
quellor_on() {
  quellor=(env "QUELLOR_PREFIX=$1/prefix" "$bin/quellor" 'C:\Projects\Plant\Project.mdb')
}

# summarize NAME SIZE: one table row from the medians of $work/SIZE/NAME.times.
summarize() {
  local name=$1 size=$2 file column
  file=$work/$size/$name.times
  local values=()
  for column in 1 2 3; do
    awk -v c=$column '{ print $c }' "$file" >"$file.$column"
    values+=("$(median "$file.$column")")
  done
  printf "%-6s %-28s %8.3f %8.3f %8.1f\n" "$size" "$name" "${values[0]}" "${values[1]}" \
    "$(awk -v k="${values[2]}" 'BEGIN { print k / 1024 }')" | tee -a "$results" >/dev/null
}

# The fullest application's dictionary in a built plant (the largest Tagname.X).
fullest_app() {
  find "$1/c/Projects" -name Tagname.X -printf "%s %h\n" | sort -n | tail -1 | cut -d' ' -f2-
}

# Every dictionary file a build of the plant at $1 wrote, one a line.
all_dictionaries() {
  find "$1/c/Projects" \( -name Tagname.X -o -name Tag_Ext.X \) -print | sort
}

for size in $sizes; do
  mkdir -p "$work/$size"
  echo "bench: generating a plant of $size tags" >&2
  read -r tags rows trees < <("$bin/make_project" plant "$work/$size/plant" "$size" "$seed")
  echo "$size $tags $rows $trees" >>"$work/plants.txt"
  database=$work/$size/plant/c/Projects/Plant/Project.mdb

  echo "bench: $size tags: first builds" >&2
  for ((r = 0; r < runs; ++r)); do
    rm -rf "$work/$size/built"
    cp -a "$work/$size/plant" "$work/$size/built"
    sync  # the copy's writeback is not the build's
    quellor_on "$work/$size/built"
    measure "first build" "$size" "${quellor[@]}"
  done
  echo "bench: $size tags: rebuilds without change" >&2
  for ((r = 0; r < runs; ++r)); do
    quellor_on "$work/$size/built"
    measure "rebuild, no change" "$size" "${quellor[@]}"
  done
  echo "bench: $size tags: rebuilds after 1% changed" >&2
  for ((r = 0; r < runs; ++r)); do
    rm -rf "$work/$size/changed"
    cp -a "$work/$size/built" "$work/$size/changed"
    "$bin/make_project" change "$work/$size/changed/c/Projects/Plant/Project.mdb" $((seed + r)) \
      >/dev/null
    sync
    quellor_on "$work/$size/changed"
    measure "rebuild, 1% changed" "$size" "${quellor[@]}"
  done

  # The floor. Until the build fills the dictionary, files of the size N records make.
  app=$(fullest_app "$work/$size/built")
  floor=$work/$size/floor
  mkdir -p "$floor"
  tag_file=$app/Tagname.X
  ext_file=$app/Tag_Ext.X
  if [ "$(stat -c %s "$tag_file")" -lt $((tags * 1024)) ]; then
    echo "bench: $tag_file holds fewer than $tags records; the floor copies files that hold" \
      "$tags" >&2
    mkdir -p "$work/$size/synthetic"
    tag_file=$work/$size/synthetic/Tagname.X
    ext_file=$work/$size/synthetic/Tag_Ext.X
    head -c $((40 + (tags + 1) * 1024)) /dev/urandom >"$tag_file"
    head -c $(((tags + 1) * 512)) /dev/urandom >"$ext_file"
    echo "$size" >>"$work/synthetic-floor.txt"
  fi
  saved_trend_sql=$(sqlite3 "$database" "SELECT Sql FROM SavedQueries WHERE Name = 'qFTTrdData'")
  trend_sql=${saved_trend_sql//\?1/1}
  trend_sql=${trend_sql//\?2/1}
  server_sql="SELECT t.TagName, p.ServerComputerName FROM Tags AS t
    JOIN Blocks AS b ON b.BlockId = t.BlockId
    JOIN ServerComputerPortToNodes AS n ON n.NodeName = b.NodeName
    JOIN ServerComputerPorts AS p ON p.ServerComputerPortID = n.ServerComputerPortID"
  # The historian nodes' query as the build sends it, qFTTrdData with their parameters.
  historian_sql=${saved_trend_sql//\?1/1}
  historian_sql=${historian_sql//\?2/0}
  historian_sql="WITH qFTTrdData AS ($historian_sql)
    SELECT q.TagName, q.FieldName, q.SubfieldName, q.RecordType, q.FldRenderedType, q.FullDesc,
           q.Units, q.HiRange, q.LoRange, p.ServerComputerName
    FROM qFTTrdData AS q
    JOIN Tags AS t ON q.TagName = t.TagName
    JOIN Blocks AS b ON b.BlockId = t.BlockId
    JOIN PelnetNodes AS pn ON pn.NodeName = b.NodeName
    JOIN ServerComputerPortToNodes AS n ON n.NodeName = pn.NodeName
    JOIN ServerComputerPorts AS p ON p.ServerComputerPortID = n.ServerComputerPortID
    WHERE q.Logged = 1 ORDER BY q.FldRenderedType"
  # cp --parents keeps the applications' same-named files apart under one folder.
  mapfile -t dictionaries < <(all_dictionaries "$work/$size/built")
  for ((r = 0; r < runs; ++r)); do
    rm -rf "$floor/Tagname.X" "$floor/Tag_Ext.X" "$floor/all"
    mkdir -p "$floor/all"
    measure "floor: cp dictionary" "$size" cp "$tag_file" "$ext_file" "$floor/"
    measure "floor: cp all dictionaries" "$size" cp --parents "${dictionaries[@]}" "$floor/all/"
    measure "floor: sqlite qFTTrdData" "$size" sqlite3 "$database" "$trend_sql"
    measure "floor: sqlite tag servers" "$size" sqlite3 "$database" "$server_sql"
    measure "floor: sqlite historian tags" "$size" sqlite3 "$database" "$historian_sql"
  done

  for name in "first build" "rebuild, no change" "rebuild, 1% changed" "floor: cp dictionary" \
              "floor: cp all dictionaries" "floor: sqlite qFTTrdData" "floor: sqlite tag servers" \
              "floor: sqlite historian tags"; do
    summarize "$name" "$size"
  done
done

# The table, the growth from the smallest to the largest size, and the largest size's ratios to
# its two floors.
smallest=$(echo $sizes | awk '{ print $1 }')
largest=$(echo $sizes | awk '{ print $NF }')
echo
echo "Scale: medians of $runs runs (seed $seed), quellor of $build_dir"
printf "%-6s %-28s %8s %8s %8s\n" "tags" "step" "wall s" "cpu s" "peak MB"
cat "$results"
if [ -s "$work/synthetic-floor.txt" ]; then
  echo "(the build did not fill the dictionary at sizes $(paste -sd' ' "$work/synthetic-floor.txt")," \
    "so their cp floor copies files of that many records)"
fi
echo
awk -v small="$smallest" -v large="$largest" '
  { key = $0; sub(/^[0-9]+ +/, "", key); sub(/ +[0-9.]+ +[0-9.]+ +[0-9.]+$/, "", key)
    n = split($0, f, " "); wall[$1, key] = f[n - 2]; cpu[$1, key] = f[n - 1]; }
  END {
    printf "Growth %s/%s (wall, cpu):\n", large, small
    split("first build|rebuild, no change|rebuild, 1% changed", order, "|")
    for (i = 1; i <= 3; ++i) if (wall[small, s = order[i]] > 0) {
      printf "  %-24s %6.1f  ", s, wall[large, s] / wall[small, s]
      if (cpu[small, s] > 0) printf "%6.1f\n", cpu[large, s] / cpu[small, s]; else print "     -"
    }
    queries = wall[large, "floor: sqlite qFTTrdData"] + wall[large, "floor: sqlite tag servers"] \
              + wall[large, "floor: sqlite historian tags"]
    floors["one dictionary"] = wall[large, "floor: cp dictionary"] + queries
    floors["all dictionaries"] = wall[large, "floor: cp all dictionaries"] + queries
    split("one dictionary|all dictionaries", kinds, "|")
    for (k = 1; k <= 2; ++k) {
      floor = floors[kinds[k]]
      printf "Floor at %s, %s (cp + the project queries): %.3f s wall\n", large, kinds[k], floor
      if (floor > 0) for (i = 1; i <= 3; ++i) {
        printf "  %-24s / floor: %6.1f\n", order[i], wall[large, order[i]] / floor
      }
    }
  }' "$results"

echo
"$(dirname "$0")/bench_access.sh" "$build_dir"

echo
echo "Google Benchmarks ($bin), each briefly:"
for benchmark in "$bin"/*_bench; do
  [ -x "$benchmark" ] || continue
  echo "== $(basename "$benchmark")"
  "$benchmark" --benchmark_min_time=0.05 2>&1 | grep -v '^\*\*\*'
done
