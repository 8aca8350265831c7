#!/usr/bin/env bash
# Builds zlib and libpng from Debian's source packages as position-independent static libraries
# into build/deps/linux/prefix, so that the Linux plug-in carries them inside instead of needing them
# at load time (Debian ships both static libraries built for executables only); skips what is built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
deps=$root/build/deps/linux
prefix=$deps/prefix
jobs=$(nproc)

scripts/enable-source-packages.sh
source scripts/source-packages.sh

# Builds a package once per source version with the given command (run in a copy of the source):
# the stamp names the version that is installed.
build_package() {
  local package=$1
  shift
  local source
  source=$(source_to_build "$package")
  if [[ -z $source ]]; then
    return 0
  fi
  echo "Building ${source##*/} for the Linux plug-in"
  local build=$deps/build/$package log=$deps/build/$package.log
  mkdir -p "$deps/build"
  rm -rf "$build"
  cp -r "$source" "$build"
  (cd "$build" && "$@") >"$log" 2>&1 ||
    { echo "error: building $package failed; see $log" >&2; tail -20 "$log" >&2; return 1; }
  mark_built "$package" "$source"
}

build_zlib() {
  CFLAGS="-O2 -fPIC" ./configure --static --prefix="$prefix" && make -j "$jobs" libz.a && make install
}

build_libpng() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_POSITION_INDEPENDENT_CODE=ON -DZLIB_ROOT="$prefix" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
        -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF -Wno-dev &&
    cmake --build build -j "$jobs" && cmake --install build
}

build_package zlib build_zlib
build_package libpng1.6 build_libpng -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
  -DZLIB_ROOT="$prefix" -DZLIB_USE_STATIC_LIBS=ON
