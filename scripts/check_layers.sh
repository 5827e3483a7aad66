#!/usr/bin/env bash
# check_layers.sh [ROOT]: fails when a file of the program includes a folder above its own.
#
# The folders are the layers (README, "The layout"). A file of src/, include/ or tagdll/ may
# include its own folder and the layers below it; folders of one layer never include each
# other. Every offending #include line is printed as FILE:LINE with the reason; the exit code
# is 1 when there is one, else 0. ROOT is the repository (by default the one holding this
# script).
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# The layers, bottom first. "include/tagdll" is the library's C interface, "tagdll" the library.
layers=(
  "base"
  "platform"
  "include/tagdll"
  "report tagdll"
  "projectdb run"
  "accessnames"
  "tagdict historian tagbrowser"
  "apps"
  "driver"
)
declare -A level
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do level[$folder]=$i; done
done

# The layer a file lies in, from its path in the repository.
layer_of_file() {
  case $1 in
    src/*) local rest=${1#src/}; echo "${rest%%/*}" ;;
    include/tagdll/*) echo include/tagdll ;;
    *) echo "${1%%/*}" ;;
  esac
}

# The layer an include names: "tagdll/..." is the C interface where include/tagdll holds it.
layer_of_include() {
  if [[ $1 == tagdll/* && -e include/$1 ]]; then
    echo include/tagdll
  else
    echo "${1%%/*}"
  fi
}

failures=0
while IFS= read -r -d '' file; do
  own=$(layer_of_file "$file")
  if [[ -z ${level[$own]+set} ]]; then
    echo "$file: $own is in no layer (add it to the layers of scripts/check_layers.sh)"
    failures=$((failures + 1))
    continue
  fi
  while IFS=: read -r line text; do
    [[ $text =~ \"([^\"]+)\" ]] || continue
    included=${BASH_REMATCH[1]}
    [[ $included == */* ]] || continue  # beside the file, in its own folder
    target=$(layer_of_include "$included")
    [[ $target == "$own" ]] && continue
    if [[ -z ${level[$target]+set} ]]; then
      echo "$file:$line: includes $included, which is in no layer"
    elif ((level[$target] >= level[$own])); then
      echo "$file:$line: includes $included: $target is not below $own"
    else
      continue
    fi
    failures=$((failures + 1))
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(for folder in src include tagdll; do
  [[ -d $folder ]] && find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \) -print0
done | sort -z)

if ((failures > 0)); then
  echo "$failures include line(s) against the layers, bottom first:$(printf ' [%s]' "${layers[@]}")"
  exit 1
fi
