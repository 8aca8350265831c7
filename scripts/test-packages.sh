#!/usr/bin/env bash
# Makes the three packages with scripts/package.sh and checks each as a user receives it: the Debian
# package installed into an empty root, the Linux archive's install.sh in a temporary HOME, and the
# Windows zip's DLL (its exports and imports, and the validator under Wine from the unpacked folder).
# Expects a Wine session (scripts/wine-session.sh) for the Windows checks, as scripts/test.sh starts.
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
  local what=$1
  shift
  if "$@" >"$work/check.log" 2>&1; then
    echo "ok: $what"
  else
    failures=$((failures + 1))
    echo "FAILED: $what"
    tail -n 30 "$work/check.log" | sed 's/^/    /'
  fi
}
# Passes when the named list of files is exactly what the archive listing holds.
same_list() {
  diff <(printf '%s\n' "${@:2}" | sort) <(sort "$1")
}

started=$SECONDS
scripts/package.sh
echo "(packages made in $((SECONDS - started)) s)"
# The project's version, read where CMake sets it: the packages' names and contents must follow it.
version=$(sed -nE 's/^project\(Zelmor VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt)
vendor_version=$(awk -F. '{print $1 * 1000 + $2 * 100 + $3}' <<<"$version")
zip=dist/zelmor-$version-windows-x64.zip
tarball=dist/zelmor-$version-linux-x86_64.tar.gz
deb=dist/zelmor-vst_${version}_amd64.deb

echo "== The Debian package"
root=$work/root
dpkg -x "$deb" "$root"
(cd "$root" && find . -type f | sed 's|^\./||' | sort) >"$work/deb-files"
check "the .deb installs the plug-in, the host and the documentation, nothing else" same_list "$work/deb-files" \
  usr/lib/vst/zelmor.so usr/bin/zelmor-host usr/share/doc/zelmor-vst/copyright \
  usr/share/doc/zelmor-vst/changelog.gz usr/share/doc/zelmor-vst/README.txt usr/share/lintian/overrides/zelmor-vst \
  usr/share/man/man1/zelmor-host.1.gz
check "the .deb depends on Debian's libsndfile rather than carrying it" \
  bash -c "dpkg-deb -f '$deb' Depends | grep -q 'libsndfile1' && readelf -d '$root/usr/bin/zelmor-host' | grep -q 'NEEDED.*libsndfile.so' && ! ldd '$root/usr/bin/zelmor-host' | grep -q 'not found'"
check "the .deb's version is the project's" test "$(dpkg-deb -f "$deb" Version)" = "$version"
check "zelmor-host --version names the project's version" \
  bash -c "'$root/usr/bin/zelmor-host' --version | grep -qF ' $version '"
check "zelmor-host info on the installed plug-in shows its name and vendor version" \
  bash -c "'$root/usr/bin/zelmor-host' info '$root/usr/lib/vst/zelmor.so' | tee /dev/stderr |
           grep -q 'Korvane - Zelmor' && '$root/usr/bin/zelmor-host' info '$root/usr/lib/vst/zelmor.so' | grep -qw '$vendor_version'"
check "zelmor-host validate --quick passes on the installed plug-in" \
  "$root/usr/bin/zelmor-host" validate "$root/usr/lib/vst/zelmor.so" --quick
check "lintian finds no error in the .deb" bash -c "lintian --fail-on error --tag-display-limit 0 '$deb' | tee /dev/stderr; exit \${PIPESTATUS[0]}"

echo "== The Linux archive"
tar -C "$work" -xzf "$tarball"
unpacked=$work/zelmor-$version-linux-x86_64
tar -tzf "$tarball" | grep -v '/$' | sed 's|^[^/]*/||' >"$work/tar-files"
check "the archive holds the plug-in, the host, README, NOTICE and install.sh" same_list "$work/tar-files" \
  zelmor.so zelmor-host README.txt NOTICE.txt install.sh
check "the archive's NOTICE carries the licences of libpng, zlib and the GCC run-time" \
  bash -c "grep -q 'Korvane - Zelmor $version' '$unpacked/NOTICE.txt' && grep -q 'libpng' '$unpacked/NOTICE.txt' &&
           grep -q 'Jean-loup Gailly' '$unpacked/NOTICE.txt' && grep -q 'GCC RUNTIME LIBRARY EXCEPTION' '$unpacked/NOTICE.txt'"
home=$work/home
mkdir -p "$home"
check "install.sh installs into ~/.vst of a new HOME and says where" \
  bash -c "HOME='$home' '$unpacked/install.sh' | grep -qF '$home/.vst/zelmor.so' && cmp '$unpacked/zelmor.so' '$home/.vst/zelmor.so'"
check "install.sh runs again over its own copy" env HOME="$home" "$unpacked/install.sh"
echo "a different plug-in" >"$home/.vst/zelmor.so"
check "install.sh refuses to replace a different file without --force, and leaves it as it was" \
  bash -c "! HOME='$home' '$unpacked/install.sh' && grep -q 'a different plug-in' '$home/.vst/zelmor.so'"
check "install.sh --force replaces it" \
  bash -c "HOME='$home' '$unpacked/install.sh' --force && cmp '$unpacked/zelmor.so' '$home/.vst/zelmor.so'"
check "install.sh installs into a folder given" \
  bash -c "'$unpacked/install.sh' '$work/elsewhere' && cmp '$unpacked/zelmor.so' '$work/elsewhere/zelmor.so'"
check "the archive's host validates the archive's plug-in (--quick)" "$unpacked/zelmor-host" validate "$unpacked/zelmor.so" --quick

echo "== The Windows zip"
windows=$work/windows
mkdir -p "$windows"
(cd "$windows" && cmake -E tar xf "$OLDPWD/$zip")
dll=$windows/zelmor-$version-windows-x64/zelmor.dll
(cd "$windows" && find . -type f | sed 's|^\./[^/]*/||') >"$work/zip-files"
check "the zip holds the DLL, README and NOTICE (no zelmor-host.exe)" same_list "$work/zip-files" \
  zelmor.dll README.txt NOTICE.txt
check "the zip's NOTICE carries the licences of libpng, zlib, the GCC run-time and winpthreads" \
  bash -c "notice='$windows/zelmor-$version-windows-x64/NOTICE.txt'; grep -q 'Korvane - Zelmor $version' \"\$notice\" &&
           grep -q 'libpng' \"\$notice\" && grep -q 'Jean-loup Gailly' \"\$notice\" &&
           grep -q 'GCC RUNTIME LIBRARY EXCEPTION' \"\$notice\" && grep -q 'mingw-w64 project' \"\$notice\""
check "the zip's DLL is PE32+ (x86-64)" \
  bash -c "x86_64-w64-mingw32-objdump -p '$dll' | grep -qE '^Magic[[:space:]]+020b' && x86_64-w64-mingw32-objdump -f '$dll' | grep -q 'pei-x86-64'"
check "the zip's DLL exports exactly VSTPluginMain and main and imports system DLLs only" \
  cmake -DLIBRARY="$dll" -DOBJDUMP=x86_64-w64-mingw32-objdump -P tests/check_exports_pe.cmake
# Wine maps the Unix root to drive Z:.
dll_in_wine=Z:${dll//\//\\}
check "the zip's DLL passes validate --quick under Wine, from the unpacked folder" \
  scripts/wine-run.sh build/windows/host/zelmor-host.exe validate "$dll_in_wine" --quick

echo
if ((failures > 0)); then
  echo "$failures package checks FAILED"
  exit 1
fi
echo "all package checks passed"
