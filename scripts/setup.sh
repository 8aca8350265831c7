#!/usr/bin/env bash
# Installs what building and testing Zelmor needs on Debian 12; does nothing when all of it is there.
# Usage: setup.sh [linux|all]: the Linux build only, or also the Windows build (MinGW-w64, Wine).
set -euo pipefail

targets=${1:-all}
# The X headers build the Linux editor (which opens the X libraries only when it opens); the X test
# libraries and Xvfb run its tests and the demo's picture; dpkg-dev unpacks the source packages that
# scripts/linux-deps.sh builds; clang and its run-time libraries build the fuzzers (scripts/fuzz.sh);
# clang-format 15 is the first to read the project's .clang-format (it inserts braces); lintian and
# zip check and unpack the packages scripts/package.sh makes.
packages=(g++ clang libclang-rt-14-dev cmake ninja-build pkgconf binutils libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev libpng-dev
          libfreetype-dev libfontconfig-dev fonts-liberation2 libx11-dev libxext-dev libxtst-dev libxres-dev xvfb
          dpkg-dev clang-format-15 lintian zip)
case $targets in
  linux) ;;
  # The cross compiler, MinGW's zlib, and Wine (inside the virtual display) for the tests.
  all) packages+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64) ;;
  *)
    echo "usage: $0 [linux|all]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo_prefix=()
  if [[ $(id -u) -ne 0 ]]; then
    sudo_prefix=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_prefix[@]}" apt-get update -qq
  "${sudo_prefix[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
