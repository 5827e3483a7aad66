#!/usr/bin/env bash
# demo.sh BUILD_DIR: builds the sample plant with the quellor of BUILD_DIR.
#
# The plant is copied afresh under BUILD_DIR/demo: a machine (the prefix, with the registry
# and a C: drive), the plant's project folder with Project.mdb made from the project schema
# and the plant's data, and the suite's HMI shell application. Then quellor runs once, as the
# suite runs it, on C:\Projects\Plant\Project.mdb.
set -euo pipefail
build_dir=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
plant=$source_dir/examples/plant
demo=$build_dir/demo
quellor=$build_dir/bin/quellor

if [ ! -x "$quellor" ]; then
  echo "demo: $quellor does not exist; build first (make build)" >&2
  exit 1
fi

rm -rf "$demo"
mkdir -p "$demo/prefix/dosdevices" "$demo/c/Projects/Plant" "$demo/c/Corvane" "$demo/c/InTouch"
cp "$plant"/prefix/*.reg "$demo/prefix/"
ln -s ../../c "$demo/prefix/dosdevices/c:"
cp -r "$plant/shell" "$demo/c/Corvane/InTouchShell"
cat "$source_dir/tagdll/schema.sql" "$plant/plant.sql" | sqlite3 "$demo/c/Projects/Plant/Project.mdb"

echo "Running: quellor 'C:\\Projects\\Plant\\Project.mdb'  (QUELLOR_PREFIX=$demo/prefix)"
status=0
QUELLOR_PREFIX=$demo/prefix "$quellor" 'C:\Projects\Plant\Project.mdb' || status=$?
echo "quellor ended with exit code $status."
cat <<TEXT
Outputs:
  the machine (registry, drive C:):    $demo/prefix, C: is $demo/c
  the project and its HMI applications: $demo/c/Projects/Plant (FactorySuite/Clients/InTApps/<application>)
  historian import files:               $demo/c/Projects/Plant/FactorySuite/Clients/InSApps/<node>/TagImport.txt
  the HMI application list:             $demo/c/InTouch/AppList.INI
TEXT
exit "$status"
