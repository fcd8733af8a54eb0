#!/usr/bin/env bash
# Builds the probe as a 32-bit Windows console program with MinGW-w64, warnings as errors, and
# checks that it needs no runtime DLL beyond those every Windows has.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-tools.sh cross
cmake --preset windows32
cmake --build --preset windows32

status=0
for exe in build/windows32/kelvoran.exe build/windows32/kelvoran-profile.exe; do
  [ -f "$exe" ] || continue
  dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
  for dll in $dlls; do
    case "$(printf '%s' "$dll" | tr '[:upper:]' '[:lower:]')" in
      kernel32.dll|msvcrt.dll|user32.dll|advapi32.dll) ;;
      *) echo "$exe needs $dll: the runtime must be linked statically" >&2; status=1 ;;
    esac
  done
  echo "$exe: $(file -b "$exe" 2>/dev/null || echo built), imports: $(echo $dlls)"
done
exit $status
