#!/usr/bin/env bash
# Runs a Windows program under wine64 the way CI needs it: a private Wine prefix in
# build/wine (made on first use), no standard input, no display, no Wine debug output, and no
# offer to install Mono or Gecko. CTest starts the Windows tests through this script.
# Usage: wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${KELVORAN_WINEPREFIX:-$root/build/wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
if [ ! -x "$wine" ]; then wine=$(command -v wine64 || command -v wine || true); fi
if [ -z "$wine" ]; then
  echo "wine.sh: wine64 is not installed (Debian package wine64)" >&2
  exit 2
fi
mkdir -p "$(dirname "$WINEPREFIX")"
exec "$wine" "$@"
