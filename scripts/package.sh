#!/usr/bin/env bash
# Makes the release archive a PRTG administrator downloads: builds the 32-bit Windows target
# (scripts/cross-build.sh windows32, with its import checks) and packs
# build/package/kelvoran-<version>-win32.zip, the version taken from CMakeLists.txt. Its top
# folder holds the probe, the profile tool, the operator's guide, the reference, examples,
# PRTG's value lookup for a global sensor's channels and a rehearsal folder with the simulated
# RFC library; SAP's LIBRFC32.dll is the administrator's
# own and must never be confused with the simulated one, so the archive is listed afterwards and
# refused when its top folder holds a LIBRFC32.dll or lacks a file the guide promises.
# The same for the 64-bit probe over SAP's NW RFC SDK (windows64-nwrfc): its library is SAP's
# sapnwrfc.dll, which the administrator brings with the SDK's other DLLs.
# Usage: package.sh [--no-build] [windows32|windows64-nwrfc]
#   (--no-build packs what build/<preset> already holds; windows32 by default)
set -euo pipefail
cd "$(dirname "$0")/.."

build=yes
preset=windows32
for argument in "$@"; do
  case "$argument" in
    --no-build) build=no ;;
    windows32 | windows64-nwrfc) preset=$argument ;;
    *) echo "package.sh: unknown argument '$argument'" >&2; exit 2 ;;
  esac
done
if [ "$preset" = windows32 ]; then
  suffix=win32
  library=LIBRFC32.dll
else
  suffix=win64-nwrfc
  library=sapnwrfc.dll
fi

version=$(sed -n 's/^project(Kelvoran VERSION \([0-9][0-9.]*\)[ )].*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then
  echo "package.sh: no project(Kelvoran VERSION ...) in CMakeLists.txt" >&2
  exit 2
fi
name=kelvoran-$version-$suffix
bin=build/$preset

if [ "$build" = yes ]; then
  # At most two compile jobs unless the caller says otherwise: the machine is shared.
  CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2} bash scripts/cross-build.sh "$preset"
fi
for file in kelvoran.exe kelvoran-profile.exe "$library"; do
  [ -f "$bin/$file" ] || { echo "package.sh: $bin/$file was not built" >&2; exit 1; }
done
# The archive's name must tell the version the probe itself reports (kelvoran.exe --version).
if ! grep -qaF "Vers $version /" "$bin/kelvoran.exe"; then
  echo "package.sh: $bin/kelvoran.exe does not report version $version of CMakeLists.txt" >&2
  exit 1
fi

stage=build/package/stage
top=$stage/$name
rm -rf "$stage" "build/package/$name.zip"
mkdir -p "$top/docs" "$top/examples" "$top/rehearsal-simulated-sap"

# The probe and the profile tool; SAP's library goes beside them on the PRTG probe.
cp "$bin/kelvoran.exe" "$bin/kelvoran-profile.exe" "$top/"

# The guide sits at the top, so its links into docs/ gain the folder.
sed 's/](\([a-z-]*\.md\)/](docs\/\1/g' docs/operator-guide.md >"$top/OPERATOR-GUIDE.md"
# The whole reference, so that every link of the guide and the pages finds its target.
cp docs/*.md "$top/docs/"

cp demo/PRD.P00 "demo/SAP Almandor.Gbl" demo/Almandor.Prf demo/SapRfc.QAS "$top/examples/"

# PRTG's value lookup of the channels a global run writes with ,DETAIL, for PRTG's
# lookups\custom folder.
mkdir -p "$top/lookups"
cp lookups/*.ovl "$top/lookups/"

# The rehearsal: the same probe beside the simulated library and the demo systems.
rehearsal=$top/rehearsal-simulated-sap
cp "$bin/kelvoran.exe" "$bin/$library" "$rehearsal/"
for file in demo/*; do
  [ "$(basename "$file")" = README.txt ] || cp "$file" "$rehearsal/"
done
{
  cat <<EOF
SIMULATION - NOT SAP'S LIBRARY

The $library in this folder is Kelvoran's simulated RFC library, not SAP's. It answers
only for the made-up SAP systems described in Landscape.ini and never reaches an SAP system.
Never copy it (or anything else from this folder) into PRTG's Custom Sensors\EXEXML folder:
there kelvoran.exe needs SAP's own $library (see OPERATOR-GUIDE.md).

This folder rehearses the probe without SAP. Copy it somewhere of its own (the probe writes
the RFC library's files where it runs), open a command prompt there and run, for example:

  kelvoran.exe PRD
  kelvoran.exe CNS ,DETAIL
  kelvoran.exe DEV
  kelvoran.exe GLOBAL DEMO
  kelvoran.exe GLOBAL DEMO ,DETAIL

The demo systems:

EOF
  sed -e 1,2d -e 's|(format: docs/landscape.md)|(format: ..\\docs\\landscape.md)|' demo/README.txt
} >"$rehearsal/README.txt"

# The archive, with Windows line ends in the text files an operator opens in an editor.
for file in "$top/OPERATOR-GUIDE.md" "$top"/docs/*.md "$rehearsal/README.txt"; do
  sed -i 's/\r*$/\r/' "$file"
done
(cd "$stage" && cmake -E tar cf "../$name.zip" --format=zip "$name")
rm -rf "$stage"
archive=build/package/$name.zip

# The check: list what the archive holds, as an administrator unpacking it would see it.
listing=$(cmake -E tar tf "$archive" | sed 's:/$::')
status=0
fail() { echo "package.sh: $archive: $*" >&2; status=1; }
for required in kelvoran.exe kelvoran-profile.exe OPERATOR-GUIDE.md docs/operator-guide.md \
  docs/keywords-and-messages.md examples/PRD.P00 "examples/SAP Almandor.Gbl" \
  examples/Almandor.Prf lookups/kelvoran.systemverdict.ovl rehearsal-simulated-sap/README.txt \
  rehearsal-simulated-sap/kelvoran.exe \
  "rehearsal-simulated-sap/$library" rehearsal-simulated-sap/Landscape.ini; do
  grep -qxF "$name/$required" <<<"$listing" || fail "lacks $name/$required"
done
# No simulated library (in any letter case) in the top folder, nor anywhere but the rehearsal
# folder: it could be taken for SAP's.
for dll in LIBRFC32.dll sapnwrfc.dll; do
  if grep -qixF "$name/$dll" <<<"$listing"; then
    fail "the top folder holds a $dll, which could be taken for SAP's"
  fi
  stray=$(grep -i "/$dll\$" <<<"$listing" | grep -vixF "$name/$dll" |
    grep -vxF "$name/rehearsal-simulated-sap/$library" || true)
  [ -z "$stray" ] || fail "a $dll outside the rehearsal folder: $stray"
done
outside=$(grep -vxF "$name" <<<"$listing" | grep -vF "$name/" || true)
[ -z "$outside" ] || fail "entries outside the folder $name/: $outside"
if [ "$status" != 0 ]; then
  rm -f "$archive"  # an archive that fails its check is not left where it could be shipped
  exit 1
fi

echo "$archive:"
while IFS= read -r entry; do printf '  %s\n' "$entry"; done <<<"$listing"
