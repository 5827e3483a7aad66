#!/usr/bin/env bash
# run.sh BUILD_DIR SECONDS: explores with every fuzz target of BUILD_DIR for SECONDS each,
# starting from a scratch copy of its seed corpus and its regression inputs, so the
# repository's corpus stays as committed. Prints per target the executions and seconds run;
# a finding leaves its input in BUILD_DIR/fuzz-findings/<target>/, and the run fails at the end.
set -uo pipefail
build_dir=$1
seconds=$2
source_dir=$(cd "$(dirname "$0")" && pwd)
findings_dir="$build_dir/fuzz-findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The largest input a target tries: a dictionary needs room for the 1024-byte records of its
# seeds (the edit-history dictionaries hold up to 31).
max_len() {
  case $1 in
    tag_dict | tag_merge) echo 32768 ;;
    *) echo 4096 ;;
  esac
}

failed=()
for corpus in "$source_dir"/corpus/*/; do
  name=$(basename "$corpus")
  binary="$build_dir/bin/${name}_fuzz"
  mkdir -p "$scratch/$name" "$findings_dir/$name"
  cp "$corpus"/* "$scratch/$name"/
  log="$findings_dir/$name/log.txt"
  start=$(date +%s)
  "$binary" -max_total_time="$seconds" -max_len="$(max_len "$name")" -timeout=30 \
      -print_final_stats=1 -artifact_prefix="$findings_dir/$name/" \
      "$scratch/$name" "$source_dir/regressions/$name" >"$log" 2>&1
  status=$?
  elapsed=$(( $(date +%s) - start ))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ $status -eq 0 ]; then
    printf '%-14s %10s executions in %4d s, no finding\n' "$name" "${runs:-?}" "$elapsed"
  else
    printf '%-14s %10s executions in %4d s, FINDING (exit %d), see %s\n' \
        "$name" "${runs:-?}" "$elapsed" "$status" "$log"
    grep -E '^(SUMMARY|fuzz property broken|==[0-9]+==ERROR|artifact_prefix|Test unit written)' \
        "$log" | head -n 5
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]}" >&2
  exit 1
fi
