#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly; the emulator CTest uses for the Windows build.
# scripts/wine-session.sh sets WINEPREFIX and DISPLAY for a test run; alone, it uses Wine's defaults.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: nothing here needs .NET or a web view.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=$(command -v wine64 || true)
if [[ -z $wine ]]; then
  wine=/usr/lib/wine/wine64
fi
exec "$wine" "$@"
