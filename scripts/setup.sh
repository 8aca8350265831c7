#!/usr/bin/env bash
# Installs what building and testing Zelmor needs on Debian 12 (both targets: Linux, and Windows with
# MinGW-w64, Wine and a virtual display); does nothing when all of it is there.
set -euo pipefail

packages=(
  # Linux build and tests
  g++ cmake ninja-build pkgconf binutils libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev libpng-dev
  # Windows build, its libraries' sources (apt-get source unpacks with dpkg-source), and Wine under Xvfb
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev wine64 xvfb
)

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
