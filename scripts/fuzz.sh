#!/usr/bin/env bash
# Builds the libFuzzer fuzzers (preset linux-fuzz) and runs each for ZELMOR_FUZZ_SECONDS (default 60)
# from a working copy of its committed seed corpus; crash inputs land in build/linux-fuzz/artifacts/.
# Prints one line per fuzzer with its executions and their rate; exits non-zero when any fuzzer crashed
# or a sanitizer reported an error.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${ZELMOR_FUZZ_SECONDS:-60}
fuzzers=(chunks dispatcher png typed_text text_drawing)
build=build/linux-fuzz

cmake --preset linux-fuzz >/dev/null
cmake --build --preset linux-fuzz

mkdir -p "$build/artifacts" "$build/logs"
# The stack of a report, and no leak check at exit competing with the fuzzer's own.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

lines=()
failed=0
for name in "${fuzzers[@]}"; do
  # The fuzzer adds what it finds to its working copy; the committed seeds stay as they are.
  corpus=$build/corpus/$name
  mkdir -p "$corpus"
  cp -n tests/fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
  options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-")
  if [[ -f tests/fuzz/$name.dict ]]; then
    options+=(-dict=tests/fuzz/$name.dict)
  fi
  log=$build/logs/$name.log
  echo "== fuzzing $name for $seconds s"
  status=0
  "$build/tests/fuzz/${name}_fuzzer" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?
  runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo 0)
  rate=$(grep -Eo 'stat::average_exec_per_sec: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo 0)
  if ((status != 0)) || grep -Eq 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
    failed=1
    artifact=$(grep -Eo "Test unit written to [^ ]+" "$log" | tail -n1 | sed 's/Test unit written to //' || true)
    lines+=("$name: FAILED after $runs executions ($rate exec/s)${artifact:+, input $artifact}; see $log")
  else
    lines+=("$name: $runs executions, $rate exec/s")
  fi
done

printf '%s\n' "${lines[@]}"
exit "$failed"
