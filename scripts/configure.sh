#!/usr/bin/env bash
# configure.sh BUILD_DIR [cmake arguments...]
# Configures a build folder once. A new folder gets Ninja when it is present; an existing one
# keeps the generator it was made with (CMake refuses to change it). Warnings are errors in every
# folder configured here (the builds of make and CI), through CMake's own switch.
set -euo pipefail
build_dir=$1
shift
generator=()
if [ ! -f "$build_dir/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" >/dev/null
