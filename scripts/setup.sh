#!/usr/bin/env bash
# Installs what building and testing Zelmor needs on Debian 12; does nothing when all of it is there.
# Usage: setup.sh [linux|all]: the Linux build only, or also the Windows build (MinGW-w64, Wine, Xvfb).
set -euo pipefail

targets=${1:-all}
packages=(g++ cmake ninja-build pkgconf binutils libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev libpng-dev
          libfreetype-dev libfontconfig-dev fonts-liberation2)
case $targets in
  linux) ;;
  # The cross compiler, MinGW's zlib, dpkg-source for unpacking the libraries' source packages,
  # and Wine inside a virtual display for the tests.
  all) packages+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev wine64 xvfb) ;;
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
