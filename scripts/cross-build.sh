#!/usr/bin/env bash
# Builds the probe for Windows with MinGW-w64, warnings as errors, and checks what the
# executables import: kelvoran.exe and kelvoran-profile.exe only DLLs every Windows has, and
# kelvoran.exe besides the RFC library (no runtime DLL: the runtime is linked statically), from
# it only the operations of the probe's .def file; the simulated library exports them all and
# needs only system DLLs itself.
#   windows32, windows64   SAP's classic library LIBRFC32.dll (src/rfc/classic/LIBRFC32.def;
#                          the simulated DLL exports exactly these)
#   windows64-nwrfc        SAP's NW RFC SDK sapnwrfc.dll (src/rfc/nwrfc/sapnwrfc.def)
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
  rfc_def=src/rfc/nwrfc/sapnwrfc.def
else
  rfc_dll=LIBRFC32.dll
  rfc_def=src/rfc/classic/LIBRFC32.def
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
# The names a program imports from one DLL, sorted.
imported_names() {  # program dll
  "$objdump" -p "$1" | awk -v dll="$2" '
    /^[[:space:]]*DLL Name: / { inside = (tolower($3) == tolower(dll)); next }
    inside && /^[[:space:]]*$/ { inside = 0 }
    inside && $1 ~ /^[0-9a-f]+$/ && NF == 3 { print $3 }' | sort
}
# The operations of the .def file, sorted, without the 32-bit decoration.
rfc_operations=$(sed -n '/^EXPORTS/,$ s/^[[:space:]]\{1,\}\([A-Za-z]*\)\(@[0-9]*\)\{0,1\}[[:space:]]*$/\1/p' \
  "$rfc_def" | sort)

for exe in kelvoran.exe kelvoran-profile.exe "$rfc_dll"; do
  [ -f "$dir/$exe" ] || { fail "$dir/$exe was not built"; continue; }
  dlls=$(imported_dlls "$dir/$exe")
  for dll in $(lower $dlls); do
    case "$dll" in
      kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll) ;;
      # Only the probe calls the RFC library; the profile tool must run without one.
      librfc32.dll | sapnwrfc.dll)
        [ "$exe" = kelvoran.exe ] && [ "$dll" = "$(lower "$rfc_dll")" ] ||
          fail "$exe must not import $dll" ;;
      *) fail "$exe needs $dll: the runtime must be linked statically" ;;
    esac
  done
  echo "$dir/$exe imports: $(echo $dlls)"
done

if [ -f "$dir/kelvoran.exe" ]; then
  if ! imported_dlls "$dir/kelvoran.exe" | grep -qx "$rfc_dll"; then
    fail "kelvoran.exe does not import $rfc_dll"
  fi
  imports=$(imported_names "$dir/kelvoran.exe" "$rfc_dll")
  unknown=$(comm -23 <(echo "$imports") <(echo "$rfc_operations"))
  [ -z "$unknown" ] || fail "kelvoran.exe imports from $rfc_dll what it does not offer: $unknown"
  echo "$dir/kelvoran.exe imports from $rfc_dll: $(echo $imports)"
fi
if [ -f "$dir/$rfc_dll" ]; then
  exports=$("$objdump" -p "$dir/$rfc_dll" |
    awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && NF == 0 { on = 0 }
         on { print $NF }' | sort)
  if [ "$rfc_dll" = LIBRFC32.dll ]; then
    # The classic stand-in exports exactly the ten operations.
    [ "$exports" = "$rfc_operations" ] ||
      fail "$rfc_dll exports $(echo $exports), not the operations of $(basename "$rfc_def")"
  else
    # The NW stand-in exports a subset of SAP's API that holds every operation the probe calls.
    missing=$(comm -13 <(echo "$exports") <(echo "$rfc_operations"))
    [ -z "$missing" ] || fail "$rfc_dll does not export what the probe calls: $missing"
  fi
  echo "$dir/$rfc_dll exports: $(echo $exports)"
fi
exit $status
