#!/bin/sh
# Copies the Zelmor plug-in beside this script into a folder Linux hosts scan for VST 2 plug-ins.
# Usage: ./install.sh [--force] [FOLDER]   (FOLDER defaults to ~/.vst)
set -eu

force=0
folder=
for argument in "$@"; do
  case $argument in
    --force) force=1 ;;
    -h | --help)
      echo "usage: $0 [--force] [FOLDER]   (copies zelmor.so into FOLDER, by default ~/.vst)"
      exit 0
      ;;
    -*)
      echo "install.sh: unknown option '$argument'" >&2
      exit 2
      ;;
    *)
      if [ -n "$folder" ]; then
        echo "install.sh: give one folder only" >&2
        exit 2
      fi
      folder=$argument
      ;;
  esac
done
if [ -z "$folder" ]; then
  if [ -z "${HOME:-}" ]; then
    echo "install.sh: HOME is not set: name the folder to install into" >&2
    exit 2
  fi
  folder=$HOME/.vst
fi

source_file=$(dirname "$0")/zelmor.so
if [ ! -f "$source_file" ]; then
  echo "install.sh: zelmor.so is not beside this script ($source_file)" >&2
  exit 1
fi
target=$folder/zelmor.so
# Another build (or another plug-in of that name) may be in use by the user's projects: replacing it
# is the user's choice, never the script's.
if [ -e "$target" ] && ! cmp -s "$source_file" "$target" && [ "$force" -eq 0 ]; then
  echo "install.sh: $target exists and differs from this package's zelmor.so; not replacing it" >&2
  echo "install.sh: run again with --force to replace it" >&2
  exit 1
fi
mkdir -p "$folder"
# Copy beside the target and rename over it, so that a host scanning meanwhile never reads half a file.
cp "$source_file" "$target.new.$$"
chmod 0755 "$target.new.$$"
mv -f "$target.new.$$" "$target"
echo "Installed Korvane - Zelmor into $target"
echo "Rescan plug-ins in your host (or restart it); if it does not scan $folder, add that folder in its plug-in settings."
