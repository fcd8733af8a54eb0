#!/usr/bin/env bash
# Builds the probe for Windows with MinGW-w64, warnings as errors, and checks what the
# executables import: kelvoran.exe and kelvoran-profile.exe only DLLs every Windows has, and
# kelvoran.exe besides the RFC library LIBRFC32.dll (no runtime DLL: the runtime is linked
# statically), from it only the operations of src/rfc/classic/LIBRFC32.def; the simulated LIBRFC32.dll
# exports exactly those and needs only system DLLs itself.
# Usage: cross-build.sh [windows32|windows64]   (default windows32, the real target)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-windows32}
case "$preset" in
  windows32) objdump=i686-w64-mingw32-objdump ;;
  windows64) objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "cross-build.sh: unknown preset '$preset'" >&2; exit 2 ;;
esac
bash scripts/ensure-tools.sh "$preset"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

dir=build/$preset
status=0
fail() { echo "cross-build.sh: $*" >&2; status=1; }
lower() { printf '%s\n' "$@" | tr '[:upper:]' '[:lower:]'; }
# The names of the DLLs a program imports, one per line.
imported_dlls() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'; }
# The names a program imports from one DLL, sorted.
imported_names() {  # program dll
  "$objdump" -p "$1" | awk -v dll="$2" '
    /^[[:space:]]*DLL Name: / { inside = (tolower($3) == tolower(dll)); next }
    inside && /^[[:space:]]*$/ { inside = 0 }
    inside && $1 ~ /^[0-9a-f]+$/ && NF == 3 { print $3 }' | sort
}
# The operations of the .def file, sorted, without the 32-bit decoration.
rfc_operations=$(sed -n 's/^[[:space:]]*\([A-Za-z]*\)@[0-9]*[[:space:]]*$/\1/p' src/rfc/classic/LIBRFC32.def | sort)

for exe in kelvoran.exe kelvoran-profile.exe LIBRFC32.dll; do
  [ -f "$dir/$exe" ] || { fail "$dir/$exe was not built"; continue; }
  dlls=$(imported_dlls "$dir/$exe")
  for dll in $(lower $dlls); do
    case "$dll" in
      kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll) ;;
      # Only the probe calls the RFC library; the profile tool must run without one.
      librfc32.dll) [ "$exe" = kelvoran.exe ] || fail "$exe must not import LIBRFC32.dll" ;;
      *) fail "$exe needs $dll: the runtime must be linked statically" ;;
    esac
  done
  echo "$dir/$exe imports: $(echo $dlls)"
done

if [ -f "$dir/kelvoran.exe" ]; then
  if ! imported_dlls "$dir/kelvoran.exe" | grep -qx 'LIBRFC32.dll'; then
    fail "kelvoran.exe does not import LIBRFC32.dll"
  fi
  unknown=$(comm -23 <(imported_names "$dir/kelvoran.exe" LIBRFC32.dll) <(echo "$rfc_operations"))
  [ -z "$unknown" ] || fail "kelvoran.exe imports from LIBRFC32.dll what it does not offer: $unknown"
  echo "$dir/kelvoran.exe imports from LIBRFC32.dll: $(imported_names "$dir/kelvoran.exe" LIBRFC32.dll | tr '\n' ' ')"
fi
if [ -f "$dir/LIBRFC32.dll" ]; then
  exports=$("$objdump" -p "$dir/LIBRFC32.dll" |
    awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && NF == 0 { on = 0 }
         on { print $NF }' | sort)
  [ "$exports" = "$rfc_operations" ] ||
    fail "LIBRFC32.dll exports $(echo $exports), not the operations of LIBRFC32.def"
  echo "$dir/LIBRFC32.dll exports: $(echo $exports)"
fi
exit $status
