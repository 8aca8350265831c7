#!/usr/bin/env bash
# Builds Zelmor for both targets and runs every test: on Linux the whole suite, again under
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer, and the threading tests under
# ThreadSanitizer; on Windows the whole suite under Wine. Prints one result line per suite at the end.
# With --quick: the Linux suite alone, installing nothing (the quick loop while developing).
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
case ${1:-} in
  "") ;;
  --quick) quick=1 ;;
  *)
    echo "usage: $0 [--quick]" >&2
    exit 2
    ;;
esac

if ((quick)); then
  # Nothing is installed here: the libraries the Linux plug-in carries must already be built.
  if [[ ! -d build/deps/linux/prefix ]]; then
    echo "error: build/deps/linux/prefix is missing: run scripts/setup.sh linux and scripts/linux-deps.sh (or scripts/test.sh) once first" >&2
    exit 1
  fi
else
  scripts/setup.sh
  scripts/linux-deps.sh
fi

# One virtual display of the run's own, even on a desktop (the tests move the pointer and press
# keys through the X server): the Linux editor's tests show it in X windows there, and the Windows
# suite's windows live there under Wine.
source scripts/wine-session.sh
trap 'wine_session_stop' EXIT
virtual_display_start

results=()
failed=0
log_directory=build/test-logs
mkdir -p "$log_directory"

# A suite's step that failed: the end of its log here, and the log named in the results.
step_failed() {
  local label=$1 step=$2 log=$3
  failed=1
  echo "error: $label: the $step failed; the last lines of $log:" >&2
  tail -n 40 "$log" >&2
  results+=("$label: FAILED ($step failed; see $log)")
}

# Builds a preset and runs its tests; "$@" is the command that runs ctest (a prefix such as setarch).
# Each step writes its own log in $log_directory, made afresh here: what a run reports comes from
# this run only, never from logs an earlier one left.
run_suite() {
  local label=$1 preset=$2
  shift 2
  echo "== $label"
  local configure_log=$log_directory/$preset-configure.log
  local build_log=$log_directory/$preset-build.log
  local log=$log_directory/$preset.log
  rm -f "$configure_log" "$build_log" "$log"
  local started=$SECONDS
  if ! cmake --preset "$preset" >"$configure_log" 2>&1; then
    step_failed "$label" configure "$configure_log"
    return
  fi
  if ! cmake --build --preset "$preset" 2>&1 | tee "$build_log"; then
    step_failed "$label" build "$build_log"
    return
  fi
  if "$@" ctest --preset "$preset" 2>&1 | tee "$log"; then
    results+=("$label: $(grep -Eo '[0-9]+% tests passed.*' "$log" | tail -n1) ($((SECONDS - started)) s)")
    # Presets that run a failed test a second time: name what passed only then.
    local retried
    retried=$(grep -Eo 'Test +#[0-9]+: [^ ]+ \.+\*\*\*Failed' "$log" | sed -E 's/.*: ([^ ]+) .*/\1/' | tr '\n' ' ' || true)
    if [[ -n $retried ]]; then
      results+=("  passed on the second run: $retried")
    fi
  else
    failed=1
    results+=("$label: FAILED ($(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n1 ||
                               echo "the tests ended without a summary; see $log"))")
  fi
}

# The results so far under their heading, and the run's status.
finish() {
  echo
  echo "== Results"
  printf '%s\n' "${results[@]}"
  exit "$failed"
}

run_suite "Linux x86-64" linux
if ((quick)); then
  finish
fi
run_suite "Linux x86-64, AddressSanitizer + LeakSanitizer + UndefinedBehaviorSanitizer" linux-asan
# Address-space randomisation on newer kernels can defeat the sanitizer's fixed memory layout.
run_suite "Linux x86-64, ThreadSanitizer (processing, and the editor, while parameters change)" linux-tsan setarch "$(uname -m)" -R

# The fuzzers, each for ZELMOR_FUZZ_SECONDS from its seeds: one result line per fuzzer.
echo "== Fuzzers (clang, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer)"
fuzz_log=$log_directory/linux-fuzz.log
started=$SECONDS
if scripts/fuzz.sh 2>&1 | tee "$fuzz_log"; then
  results+=("Fuzzers: no crash ($((SECONDS - started)) s)")
else
  failed=1
  results+=("Fuzzers: FAILED ($((SECONDS - started)) s; see $fuzz_log)")
fi
while IFS= read -r line; do
  results+=("  $line")
done < <(grep -E '^[a-z_]+: ([0-9]+ executions|FAILED)' "$fuzz_log" || true)

echo "== Windows x86-64: libraries from Debian's source packages"
started=$SECONDS
scripts/windows-deps.sh
echo "   (libraries ready after $((SECONDS - started)) s)"
started=$SECONDS
wine_session_start build/windows
echo "   (virtual display and Wine prefix ready after $((SECONDS - started)) s)"
run_suite "Windows x86-64 under Wine" windows

# Both runs saved the same pictures, drawn once on Linux and once by Windows' GDI: compare them.
compare_pictures() {
  local label=$1 program=$2 test=$3 name=$4
  echo "== $label: Linux against Windows"
  local log=$log_directory/picture-$name.log
  if ZELMOR_OTHER_PICTURE="$PWD/build/windows/tests/pictures/$name-windows.png" \
     "build/linux/tests/$program" --gtest_filter="$test" 2>&1 | tee "$log" && grep -q '^\[  PASSED  \] 1 test' "$log"; then
    results+=("$label agree: build/linux/tests/pictures/$name-linux.png and build/windows/tests/pictures/$name-windows.png")
  else
    failed=1
    results+=("$label: FAILED (see $log)")
  fi
}
compare_pictures "Conformance pictures" zelmor_conformance_tests PictureConformance.LinuxAndWindowsPicturesAgree window
compare_pictures "View tree pictures" zelmor_gui_tests ViewTreePicture.LinuxAndWindowsPicturesAgree view-tree
compare_pictures "Controls pictures" zelmor_gui_tests ControlsPicture.LinuxAndWindowsPicturesAgree controls
compare_pictures "Editor pictures" zelmor_editor_tests EditorPanel.LinuxAndWindowsPicturesAgree editor

# Last, the packages users download, made from the builds above and checked as users get them.
echo "== Packages"
packages_log=$log_directory/packages.log
started=$SECONDS
if scripts/test-packages.sh 2>&1 | tee "$packages_log"; then
  results+=("Packages: $(grep -c '^ok: ' "$packages_log") checks passed; dist/ holds the .deb, the tar.gz and the zip ($((SECONDS - started)) s)")
else
  failed=1
  results+=("Packages: FAILED ($(grep -c '^FAILED: ' "$packages_log" || true) checks failed; see $packages_log)")
fi

finish
