#!/usr/bin/env bash
# Builds Zelmor and runs every test: the whole suite, again under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, and the threading tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

echo "== Linux x86-64: build and full test suite"
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux

echo "== Linux x86-64 under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer"
cmake --preset linux-asan >/dev/null
cmake --build --preset linux-asan
ctest --preset linux-asan

echo "== Linux x86-64 under ThreadSanitizer: processing while parameters change"
cmake --preset linux-tsan >/dev/null
cmake --build --preset linux-tsan
# Address-space randomisation on newer kernels can defeat the sanitizer's fixed memory layout.
setarch "$(uname -m)" -R ctest --preset linux-tsan
