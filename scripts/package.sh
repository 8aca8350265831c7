#!/usr/bin/env bash
# Makes Zelmor's three packages in dist/: the Windows zip, the Linux tar.gz and the Debian package,
# from the linux and windows presets' builds (building only the plug-in and the host), through
# `cmake --install` into staging folders. Needs scripts/linux-deps.sh and scripts/windows-deps.sh run.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset linux >/dev/null
# The version the build wrote from the project's, which the binaries carry too.
version=$(sed -nE 's/^#define ZELMOR_VERSION_TEXT "(.*)"$/\1/p' build/linux/generated/zelmor_version.h)
if [[ -z $version ]]; then
  echo "error: no version in build/linux/generated/zelmor_version.h" >&2
  exit 1
fi
dist=$PWD/dist
stage=$PWD/build/package
rm -rf "$stage"
mkdir -p "$dist" "$stage"

echo "== Building the plug-in and the host ($version)"
cmake --build build/linux --target zelmor zelmor-host
cmake --preset windows >/dev/null
cmake --build build/windows --target zelmor

# The header a package opens its notice with, then each licence of the code the plug-in carries
# (libpng, zlib and the GCC run-time are linked into the library on both systems; on Windows also
# MinGW-w64's winpthreads, so that the DLL needs no DLL beside it).
write_notice() {
  local system=$1
  local licences=(libpng zlib gcc-runtime-exception)
  local carried="libpng, zlib, and the GCC run-time libraries (libgcc and libstdc++) under the GCC Runtime Library Exception"
  if [[ $system == Windows ]]; then
    licences+=(winpthreads)
    carried="libpng, zlib, the GCC run-time libraries (libgcc and libstdc++) under the GCC Runtime Library Exception, and MinGW-w64's winpthreads"
  fi
  {
    echo "Korvane - Zelmor $version ($system)"
    echo "Copyright (C) Korvane Audio. All rights reserved."
    echo
    echo "The plug-in library carries, linked inside it, the following third-party code, each under"
    echo "its own licence, given in full below: $carried." | fold -s -w 96 | sed 's/ *$//'
    for licence in "${licences[@]}"; do
      echo
      echo "------------------------------------------------------------------------------"
      echo
      cat "packaging/licences/$licence.txt"
    done
  }
}
write_readme() {
  sed "s/@VERSION@/$version/g" packaging/README.txt
}

echo "== Windows: zelmor-$version-windows-x64.zip"
name=zelmor-$version-windows-x64
cmake --install build/windows --component plugin --prefix "$stage/windows-install" >/dev/null
mkdir -p "$stage/$name"
cp "$stage/windows-install/lib/vst/zelmor.dll" "$stage/$name/"
# Notepad and Explorer's preview read CRLF line ends best.
write_readme | sed 's/$/\r/' >"$stage/$name/README.txt"
write_notice Windows | sed 's/$/\r/' >"$stage/$name/NOTICE.txt"
rm -f "$dist/$name.zip"
(cd "$stage" && cmake -E tar cf "$dist/$name.zip" --format=zip "$name")

echo "== Linux: zelmor-$version-linux-x86_64.tar.gz"
name=zelmor-$version-linux-x86_64
cmake --install build/linux --component plugin --prefix "$stage/linux-install" --strip >/dev/null
cmake --install build/linux --component host --prefix "$stage/linux-install" --strip >/dev/null
# The compilers' identification notes (.comment) tell users nothing: the packaged binaries go without.
objcopy --remove-section=.comment "$stage/linux-install/lib/vst/zelmor.so"
objcopy --remove-section=.comment "$stage/linux-install/bin/zelmor-host"
mkdir -p "$stage/$name"
cp "$stage/linux-install/lib/vst/zelmor.so" "$stage/linux-install/bin/zelmor-host" "$stage/$name/"
cp packaging/install.sh "$stage/$name/"
write_readme >"$stage/$name/README.txt"
write_notice Linux >"$stage/$name/NOTICE.txt"
chmod 0755 "$stage/$name/zelmor.so" "$stage/$name/zelmor-host" "$stage/$name/install.sh"
chmod 0644 "$stage/$name/README.txt" "$stage/$name/NOTICE.txt"
rm -f "$dist/$name.tar.gz"
tar -C "$stage" --owner=0 --group=0 --numeric-owner --sort=name -czf "$dist/$name.tar.gz" "$name"

echo "== Debian: zelmor-vst_${version}_amd64.deb"
root=$stage/deb
DESTDIR=$root cmake --install build/linux --component plugin --prefix /usr --strip >/dev/null
DESTDIR=$root cmake --install build/linux --component host --prefix /usr --strip >/dev/null
objcopy --remove-section=.comment "$root/usr/lib/vst/zelmor.so"
objcopy --remove-section=.comment "$root/usr/bin/zelmor-host"
docs=$root/usr/share/doc/zelmor-vst
mkdir -p "$docs" "$root/DEBIAN"
{
  echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
  echo "Upstream-Name: zelmor"
  echo "Upstream-Contact: Korvane Audio"
  echo
  echo "Files: *"
  echo "Copyright: Korvane Audio"
  echo "License: proprietary"
  echo " Korvane - Zelmor. All rights reserved by Korvane Audio."
  echo " ."
  echo " The plug-in library carries libpng, zlib and the GCC run-time libraries linked"
  echo " inside it; their licences follow."
  for licence in libpng zlib gcc-runtime-exception; do
    echo
    echo "Files: embedded/$licence"
    echo "Copyright: see the licence text"
    echo "License: $licence"
    sed -e 's/^$/./' -e 's/^/ /' "packaging/licences/$licence.txt"
  done
} >"$docs/copyright"
{
  echo "zelmor-vst ($version) stable; urgency=medium"
  echo
  echo "  * Release $version: see README.txt and the project's CHANGELOG.md."
  echo
  echo " -- Korvane Audio <dev@korvane.example>  $(date -R -d @"${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}")"
} | gzip -9n >"$docs/changelog.gz"
write_readme >"$docs/README.txt"
mkdir -p "$root/usr/share/man/man1"
sed "s/@VERSION@/$version/g" packaging/zelmor-host.1 | gzip -9n >"$root/usr/share/man/man1/zelmor-host.1.gz"
mkdir -p "$root/usr/share/lintian/overrides"
grep -v '^#' packaging/zelmor-vst.lintian-overrides >"$root/usr/share/lintian/overrides/zelmor-vst"
# dpkg-shlibdeps reads the package's name from debian/control in the folder it runs in.
mkdir -p "$stage/shlibdeps/debian"
printf 'Source: zelmor-vst\n\nPackage: zelmor-vst\nArchitecture: amd64\n' >"$stage/shlibdeps/debian/control"
depends=$(cd "$stage/shlibdeps" && dpkg-shlibdeps -O -e"$root/usr/bin/zelmor-host" -e"$root/usr/lib/vst/zelmor.so" 2>/dev/null |
  sed -n 's/^shlibs:Depends=//p')
installed_size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
cat >"$root/DEBIAN/control" <<CONTROL
Package: zelmor-vst
Version: $version
Architecture: amd64
Maintainer: Korvane Audio <dev@korvane.example>
Installed-Size: $installed_size
Depends: $depends
Section: sound
Priority: optional
Homepage: https://korvane.example/zelmor
Description: Korvane - Zelmor, a stereo filter VST 2 plug-in
 Zelmor is a stereo multi-mode filter (low pass, high pass, band pass and band
 stop) with two automatable cut-off frequencies and its own editor window, for
 hosts that load VST 2 plug-ins. It installs into /usr/lib/vst, which such
 hosts scan.
 .
 The package also carries zelmor-host, a command-line host that shows a
 plug-in's details, processes audio files and validates VST 2 plug-ins.
CONTROL
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)
find "$root" -type d -exec chmod 0755 {} +
find "$root/usr/share" -type f -exec chmod 0644 {} +
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums" "$root/usr/lib/vst/zelmor.so"
rm -f "$dist/zelmor-vst_${version}_amd64.deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$dist/zelmor-vst_${version}_amd64.deb" >/dev/null

echo "== Packages"
ls -l "$dist/zelmor-$version-windows-x64.zip" "$dist/zelmor-$version-linux-x86_64.tar.gz" \
  "$dist/zelmor-vst_${version}_amd64.deb"
