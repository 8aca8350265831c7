#!/usr/bin/env bash
# Installs what building and testing Zelmor needs on Debian 12; does nothing when all of it is there.
set -euo pipefail

packages=(g++ cmake ninja-build pkgconf binutils libgtest-dev libgmock-dev libbenchmark-dev libsndfile1-dev)

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
