#!/usr/bin/env bash
# demo.sh BUILD_DIR: builds the sample plant with the quellor of BUILD_DIR.
#
# The plant is copied afresh under BUILD_DIR/demo: a machine (the prefix, with the registry
# and a C: drive), the plant's project folder with Project.mdb made from the project schema
# and the plant's data, and the suite's HMI shell application. Then quellor runs once, as the
# suite runs it, on C:\Projects\Plant\Project.mdb, and the demo lists where each output lies
# with the quellor-dump command that shows it.
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

# Paths as seen from where the demo was started, so the commands can be pasted.
rel() { realpath --relative-to="$PWD" "$1"; }
dump=$(rel "$build_dir/bin/quellor-dump")
apps=$demo/c/Projects/Plant/FactorySuite/Clients/InTApps
nodes=$demo/c/Projects/Plant/FactorySuite/Clients/InSApps
echo
echo "Where everything lies (paths from $PWD):"
echo "  the machine (QUELLOR_PREFIX)   $(rel "$demo/prefix"), its drive C: is $(rel "$demo/c")"
echo "  the project database (SQLite)  $(rel "$demo/c/Projects/Plant/Project.mdb")"
echo "  the HMI application list       $(rel "$demo/c/InTouch/AppList.INI")"
for app in "$apps"/*/; do
  app=$(rel "${app%/}")
  echo "  HMI application $(basename "$app"), in $app:"
  echo "    $dump tagname $app  # Tagname.X with Tag_Ext.X"
  echo "    $dump ndx $app/Tagnames.NDX"
  echo "    $dump ddecfg $app/DDE.CFG"
  echo "    $dump tagbrw $app/TagBrw.DAT"
done
for node in "$nodes"/*/; do
  [ -d "$node" ] || continue
  echo "  historian node $(basename "$node"): $(rel "${node%/}")/TagImport.txt (tab-separated text)"
done
echo "Build again (an unchanged project: no change messages):"
echo "  QUELLOR_PREFIX=$(rel "$demo/prefix") $(rel "$quellor") 'C:\\Projects\\Plant\\Project.mdb'"
exit "$status"
