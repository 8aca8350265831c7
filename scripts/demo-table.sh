#!/usr/bin/env bash
# Prints the demo's table: the level of each test tone at the input and after each of the four modes.
# Usage: demo-table.sh <zelmor-host> <plug-in library> <work folder>
set -euo pipefail

host=$1
plugin=$2
work=$3
tones=100,1000,5000,15000
mkdir -p "$work"

# The levels of a file, one per tone in order; "levels" also prints a line about the file first.
levels() {
  "$host" levels "$1" --tones "$tones" | awk '$2 == "Hz" && $4 == "dBFS" {print $3}'
}

row() {
  printf '%-10s' "$1"
  shift
  printf '%12s' "$@"
  echo
}

"$host" generate "$work/tones.wav" --rate 48000 --tones "$tones" --seconds 1
echo "Test signal: 1 s each of $tones Hz at -6 dBFS, 48 kHz; lower cut-off 500 Hz, upper 5000 Hz."
echo "Level of each tone after the filter, in dBFS:"
echo
IFS=, read -ra tone_list <<<"$tones"
headers=()
for tone in "${tone_list[@]}"; do
  headers+=("$tone Hz")
done
row tone "${headers[@]}"
mapfile -t input < <(levels "$work/tones.wav")
row input "${input[@]}"
for mode in low-pass high-pass band-pass band-stop; do
  "$host" process "$plugin" "$work/tones.wav" "$work/$mode.wav" --mode "$mode" --lower 500 --upper 5000
  mapfile -t output < <(levels "$work/$mode.wav")
  row "$mode" "${output[@]}"
done
