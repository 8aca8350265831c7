#!/usr/bin/env bash
# Builds Zelmor, runs a stepped test tone through all four filter modes, and prints the levels.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux >/dev/null

build=build/linux
host=$build/host/zelmor-host
plugin=$build/zelmor.so
work=$build/demo
tones=100,1000,5000,15000
mkdir -p "$work"

"$host" generate "$work/tones.wav" --rate 48000 --tones "$tones" --seconds 1
echo "Test signal: 1 s each of $tones Hz at -6 dBFS, 48 kHz; lower cut-off 500 Hz, upper 5000 Hz."
echo "Level of each tone after the filter, in dBFS:"
echo
printf '%-10s' "tone"
"$host" levels "$work/tones.wav" --tones "$tones" | awk '{printf "%12s", $1 " Hz"}'
echo
printf '%-10s' "input"
"$host" levels "$work/tones.wav" --tones "$tones" | awk '{printf "%12s", $3}'
echo
for mode in low-pass high-pass band-pass band-stop; do
  "$host" process "$plugin" "$work/tones.wav" "$work/$mode.wav" --mode "$mode" --lower 500 --upper 5000
  printf '%-10s' "$mode"
  "$host" levels "$work/$mode.wav" --tones "$tones" | awk '{printf "%12s", $3}'
  echo
done
echo
echo "Processed files are in $work/"
