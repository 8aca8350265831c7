#!/usr/bin/env bash
# Builds Zelmor, runs a stepped test tone through all four filter modes, and prints the levels.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux >/dev/null

build=build/linux
scripts/demo-table.sh "$build/host/zelmor-host" "$build/zelmor.so" "$build/demo"
echo
echo "Processed files are in $build/demo/"
