#!/usr/bin/env bash
# Builds the libraries the Windows target links statically (GoogleTest, Google Benchmark, libpng
# over MinGW zlib, libsndfile) from Debian's source packages into build/deps/windows/prefix; skips what is built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
deps=$root/build/deps/windows
prefix=$deps/prefix
toolchain=$root/cmake/toolchains/x86_64-w64-mingw32.cmake
jobs=$(nproc)

scripts/enable-source-packages.sh

source scripts/source-packages.sh

# Configures, builds and installs one CMake project into the prefix.
build_cmake() {
  local name=$1 source=$2
  shift 2
  local build=$deps/build/$name
  rm -rf "$build"
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DZELMOR_WINDOWS_DEPS="$prefix" -DBUILD_SHARED_LIBS=OFF \
        -Wno-dev "$@" >"$deps/build/$name.log" 2>&1 &&
    cmake --build "$build" -j "$jobs" >>"$deps/build/$name.log" 2>&1 &&
    cmake --install "$build" >>"$deps/build/$name.log" 2>&1 ||
    { echo "error: building $name for Windows failed; see $deps/build/$name.log" >&2; tail -20 "$deps/build/$name.log" >&2; return 1; }
}

# Builds a package once per source version: the stamp names the version that is installed.
build_package() {
  local package=$1
  shift
  local source
  source=$(source_to_build "$package")
  if [[ -z $source ]]; then
    return 0
  fi
  echo "Building ${source##*/} for Windows"
  mkdir -p "$deps/build"
  # @UPSTREAM@ in an argument stands for the upstream version, as Debian's own rules pass it.
  local version=${source##*/"$package"-}
  version=${version#*:}
  build_cmake "$package" "$source" "${@//@UPSTREAM@/${version%-*}}"
  mark_built "$package" "$source"
}

build_package googletest -Dgtest_force_shared_crt=OFF
build_package benchmark -DGIT_VERSION=@UPSTREAM@ -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
  -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_LTO=OFF
build_package libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_HARDWARE_OPTIMIZATIONS=ON -DZLIB_USE_STATIC_LIBS=ON
# libsndfile's own formats only (WAV, AIFF, raw and the like): the external codecs are not
# needed by the command-line host's tests and would each be another source package.
build_package libsndfile -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DENABLE_EXTERNAL_LIBS=OFF \
  -DENABLE_MPEG=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF -DCPU_CLIPS_POSITIVE=OFF -DCPU_CLIPS_NEGATIVE=OFF
