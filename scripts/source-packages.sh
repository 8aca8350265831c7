# Sourced by the dependency scripts: fetching Debian's source packages and remembering what is built.
# Needs $deps (the directory that holds the unpacked sources) and $prefix (where builds install).

# Unpacks the newest version of a source package that the mirror still serves (a mirror may list
# a security update before it carries its files) and prints the directory.
fetch_source() {
  local package=$1 version
  local versions
  versions=$(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -u -r --version-sort)
  mkdir -p "$deps/sources"
  for version in $versions; do
    if [[ -f $deps/sources/$package-$version/.unpacked ]]; then
      echo "$deps/sources/$package-$version"
      return 0
    fi
  done
  for version in $versions; do
    local upstream=${version#*:}
    upstream=${upstream%-*}
    local directory=$deps/sources/$package-$version
    rm -rf "$directory" "$deps/sources/fetch"
    mkdir -p "$deps/sources/fetch"
    if (cd "$deps/sources/fetch" && apt-get source -qq "$package=$version" >/dev/null 2>&1); then
      mv "$deps/sources/fetch/$package-$upstream" "$directory"
      rm -rf "$deps/sources/fetch"
      touch "$directory/.unpacked"
      echo "$directory"
      return 0
    fi
    echo "  ($package $version is listed but not served; trying an older version)" >&2
  done
  echo "error: no version of the source package $package could be fetched" >&2
  return 1
}

# Prints the source directory of a package to build, or nothing when the stamp in the prefix names
# that version as installed already; mark_built writes the stamp once the build is installed.
source_to_build() {
  local package=$1 source
  source=$(fetch_source "$package") || return 1
  local stamp=$prefix/.built-$package
  if [[ ! -f $stamp || $(cat "$stamp") != "${source##*/}" ]]; then
    echo "$source"
  fi
}

mark_built() {
  local package=$1 source=$2
  echo "${source##*/}" >"$prefix/.built-$package"
}
