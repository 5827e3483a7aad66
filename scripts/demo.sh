#!/usr/bin/env bash
# demo.sh BUILD_DIR: shows what the build has made so far.
set -euo pipefail
build_dir=$1
echo "Built into $build_dir/bin:"
ls "$build_dir/bin" 2>/dev/null | sed 's/^/  /' || true
if [ ! -x "$build_dir/bin/quellor" ]; then
  echo "quellor itself does not exist yet: the demo has nothing to run."
fi
