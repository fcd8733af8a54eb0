#!/usr/bin/env bash
# Runs a 32-bit Windows program under Debian's 32-bit Wine, in the 32-bit prefix build/wine32:
# scripts/wine.sh with KELVORAN_WINE_ARCH=32. CTest starts the 32-bit tests through it.
# Usage: wine32.sh PROGRAM.exe [ARGUMENTS...] | --prepare | --stop
export KELVORAN_WINE_ARCH=32
exec bash "$(dirname "${BASH_SOURCE[0]}")/wine.sh" "$@"
