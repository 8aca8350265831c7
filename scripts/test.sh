#!/usr/bin/env bash
# Builds Zelmor for both targets and runs every test: on Linux the whole suite, again under
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer, and the threading tests under
# ThreadSanitizer; on Windows the whole suite under Wine. Prints one result line per suite at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

results=()
failed=0
log_directory=build/test-logs
mkdir -p "$log_directory"

# Builds a preset and runs its tests; "$@" is the command that runs ctest (a prefix such as setarch).
run_suite() {
  local label=$1 preset=$2
  shift 2
  echo "== $label"
  local log=$log_directory/$preset.log
  local started=$SECONDS
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" &&
     "$@" ctest --preset "$preset" 2>&1 | tee "$log"; then
    results+=("$label: $(grep -Eo '[0-9]+% tests passed.*' "$log" | tail -n1) ($((SECONDS - started)) s)")
    # Presets that run a failed test a second time: name what passed only then.
    local retried
    retried=$(grep -Eo 'Test +#[0-9]+: [^ ]+ \.+\*\*\*Failed' "$log" | sed -E 's/.*: ([^ ]+) .*/\1/' | tr '\n' ' ' || true)
    if [[ -n $retried ]]; then
      results+=("  passed on the second run: $retried")
    fi
  else
    failed=1
    results+=("$label: FAILED ($(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" 2>/dev/null | tail -n1 ||
                               echo "build failed"))")
  fi
}

run_suite "Linux x86-64" linux
run_suite "Linux x86-64, AddressSanitizer + LeakSanitizer + UndefinedBehaviorSanitizer" linux-asan
# Address-space randomisation on newer kernels can defeat the sanitizer's fixed memory layout.
run_suite "Linux x86-64, ThreadSanitizer (processing while parameters change)" linux-tsan setarch "$(uname -m)" -R

echo "== Windows x86-64: libraries from Debian's source packages"
started=$SECONDS
scripts/windows-deps.sh
echo "   (libraries ready after $((SECONDS - started)) s)"
started=$SECONDS
source scripts/wine-session.sh
wine_session_start build/windows
echo "   (virtual display and Wine prefix ready after $((SECONDS - started)) s)"
run_suite "Windows x86-64 under Wine" windows

# Both conformance runs saved the same picture, drawn once by the subset and once by Windows' GDI.
echo "== The conformance picture: Linux against Windows"
log=$log_directory/pictures.log
if ZELMOR_OTHER_PICTURE="$PWD/build/windows/tests/pictures/window-windows.png" \
   build/linux/tests/zelmor_conformance_tests --gtest_filter=PictureConformance.LinuxAndWindowsPicturesAgree \
   2>&1 | tee "$log" && grep -q '^\[  PASSED  \] 1 test' "$log"; then
  results+=("Conformance pictures agree: build/linux/tests/pictures/window-linux.png and build/windows/tests/pictures/window-windows.png")
else
  failed=1
  results+=("Conformance pictures: FAILED (see $log)")
fi

echo
echo "== Results"
printf '%s\n' "${results[@]}"
exit "$failed"
