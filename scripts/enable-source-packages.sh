#!/usr/bin/env bash
# Adds source entries (deb-src) mirroring the machine's own Debian package entries, so that
# `apt-get source` works; the mirrors come from the machine, never from this repository.
set -euo pipefail

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:?no release codename in /etc/os-release}")
target=/etc/apt/sources.list.d/zelmor-source-packages.sources

sudo_prefix=()
if [[ $(id -u) -ne 0 ]]; then
  sudo_prefix=(sudo)
fi

# Source entries for this release already exist (the machine's own or ours): nothing to do.
existing=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
if grep -Eq "^deb-src .* ${codename}[ -]" <<<"$existing" ||
   awk -v codename="$codename" '
     BEGIN { RS = ""; FS = "\n" }
     /(^|\n)Types:[^\n]*deb-src/ && $0 ~ ("(^|\n)Suites:[^\n]*" codename) { found = 1 }
     END { exit found ? 0 : 1 }' <<<"$existing"; then
  exit 0
fi

derived=$(
  {
    # One-line entries: "deb [options] URI suite components" becomes the same line with deb-src.
    for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [[ -f $list ]] || continue
      awk -v codename="$codename" '
        $1 == "deb" {
          suite = ($2 ~ /^\[/) ? $4 : $3
          if (index(suite, codename) == 1) {
            line = $0; sub(/^deb/, "", line)
            printf "deb-src%s\n", line
          }
        }' "$list"
    done
    # deb822 stanzas: keep URIs, Suites, Components and Signed-By of enabled Debian stanzas.
    for sources in /etc/apt/sources.list.d/*.sources; do
      [[ -f $sources && $sources != "$target" ]] || continue
      awk -v codename="$codename" '
        BEGIN { RS = ""; FS = "\n" }
        {
          types = ""; uris = ""; suites = ""; components = ""; signed = ""; enabled = "yes"
          for (i = 1; i <= NF; i++) {
            if ($i ~ /^Types:/) types = $i
            else if ($i ~ /^URIs:/) uris = $i
            else if ($i ~ /^Suites:/) suites = $i
            else if ($i ~ /^Components:/) components = $i
            else if ($i ~ /^Signed-By:/) signed = $i
            else if ($i ~ /^Enabled:/) enabled = ($i ~ /no/) ? "no" : "yes"
          }
          if (enabled == "yes" && types ~ /deb/ && suites ~ (" " codename)) {
            printf "Types: deb-src\n%s\n%s\n%s\n", uris, suites, components
            if (signed != "") printf "%s\n", signed
            printf "\n"
          }
        }' "$sources"
    done
  }
)

if [[ -z $derived ]]; then
  echo "error: no Debian ${codename} package entries found in the apt sources to derive source entries from" >&2
  exit 1
fi

if grep -q '^deb-src' <<<"$derived"; then
  grep '^deb-src' <<<"$derived" | "${sudo_prefix[@]}" tee "${target%.sources}.list" >/dev/null
fi
if grep -q '^Types:' <<<"$derived"; then
  grep -v '^deb-src' <<<"$derived" | "${sudo_prefix[@]}" tee "$target" >/dev/null
fi
echo "Enabled source packages for ${codename}"
"${sudo_prefix[@]}" apt-get update -qq
