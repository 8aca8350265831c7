#!/usr/bin/env bash
# Builds Zelmor, runs a stepped test tone through all four filter modes, prints the levels, and saves
# a picture of the editor.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh linux
scripts/linux-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux >/dev/null

build=build/linux
scripts/demo-table.sh "$build/host/zelmor-host" "$build/zelmor.so" "$build/demo"
echo

# The editor's window needs a display; without one, a virtual display of its own for that command.
picture=$build/demo/editor.png
if [[ -z ${DISPLAY:-} ]]; then
  source scripts/virtual-display.sh
  trap virtual_display_stop EXIT
  virtual_display_start
fi
"$build/host/zelmor-host" edit "$build/zelmor.so" --screenshot "$picture"
echo
echo "Processed files are in $build/demo/; the editor's picture is $picture"
