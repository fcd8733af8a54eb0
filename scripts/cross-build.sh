#!/usr/bin/env bash
# Builds the probe for Windows with MinGW-w64, warnings as errors, and checks what the
# executables import: kelvoran.exe and kelvoran-profile.exe only DLLs every Windows has (no
# runtime DLL: the runtime is linked statically; and no RFC library: the probe loads SAP's
# library while it runs, so that a missing one is an error document, not a program Windows
# refuses to start). The simulated library beside them exports every operation of the probe's
# table of operations and needs only system DLLs itself.
#   windows32, windows64   SAP's classic library LIBRFC32.dll (src/rfc/classic/rfc_operations.h;
#                          the simulated DLL exports exactly these)
#   windows64-nwrfc        SAP's NW RFC SDK sapnwrfc.dll (src/rfc/nwrfc/nwrfc_operations.h)
# Usage: cross-build.sh [windows32|windows64|windows64-nwrfc]   (default windows32, the target)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-windows32}
case "$preset" in
  windows32) objdump=i686-w64-mingw32-objdump; tools=windows32 ;;
  windows64) objdump=x86_64-w64-mingw32-objdump; tools=windows64 ;;
  windows64-nwrfc) objdump=x86_64-w64-mingw32-objdump; tools=windows64 ;;
  *) echo "cross-build.sh: unknown preset '$preset'" >&2; exit 2 ;;
esac
if [ "$preset" = windows64-nwrfc ]; then
  rfc_dll=sapnwrfc.dll
  rfc_table=src/rfc/nwrfc/nwrfc_operations.h
else
  rfc_dll=LIBRFC32.dll
  rfc_table=src/rfc/classic/rfc_operations.h
fi
bash scripts/ensure-tools.sh "$tools"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

dir=build/$preset
status=0
fail() { echo "cross-build.sh: $*" >&2; status=1; }
lower() { printf '%s\n' "$@" | tr '[:upper:]' '[:lower:]'; }
# The names of the DLLs a program imports, one per line.
imported_dlls() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'; }
# The operations of the probe's table, sorted: the names it looks up in the library.
rfc_operations=$(sed -n 's/^[[:space:]]*OPERATION(\([A-Za-z]*\)).*$/\1/p' "$rfc_table" | sort)
[ -n "$rfc_operations" ] || fail "no operations found in $rfc_table"

for exe in kelvoran.exe kelvoran-profile.exe "$rfc_dll"; do
  [ -f "$dir/$exe" ] || { fail "$dir/$exe was not built"; continue; }
  dlls=$(imported_dlls "$dir/$exe")
  for dll in $(lower $dlls); do
    case "$dll" in
      kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll) ;;
      # The probe loads SAP's library while it runs; the profile tool never calls it.
      librfc32.dll | sapnwrfc.dll) fail "$exe must not import $dll" ;;
      *) fail "$exe needs $dll: the runtime must be linked statically" ;;
    esac
  done
  echo "$dir/$exe imports: $(echo $dlls)"
done

if [ -f "$dir/$rfc_dll" ]; then
  exports=$("$objdump" -p "$dir/$rfc_dll" |
    awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && NF == 0 { on = 0 }
         on { print $NF }' | sort)
  if [ "$rfc_dll" = LIBRFC32.dll ]; then
    # The classic stand-in exports exactly the ten operations.
    [ "$exports" = "$rfc_operations" ] ||
      fail "$rfc_dll exports $(echo $exports), not the operations of $rfc_table"
  else
    # The NW stand-in exports a subset of SAP's API that holds every operation the probe calls.
    missing=$(comm -13 <(echo "$exports") <(echo "$rfc_operations"))
    [ -z "$missing" ] || fail "$rfc_dll does not export what the probe calls: $missing"
  fi
  echo "$dir/$rfc_dll exports: $(echo $exports)"
fi
exit $status
