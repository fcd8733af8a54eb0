#!/usr/bin/env bash
# Makes a release archive for the operators, checks it and lists it:
#   windows32        build/package/kelvoran-<version>-win32.zip: the 32-bit Windows probe over
#                    SAP's classic LIBRFC32.dll, the build a PRTG probe deploys (default);
#   windows64-nwrfc  build/package/kelvoran-<version>-win64-nwrfc.zip: the 64-bit Windows probe
#                    over SAP's NW RFC SDK (sapnwrfc.dll);
#   release-nwrfc    build/package/kelvoran-<version>-linux-x86_64-nwrfc.tar.gz: the 64-bit
#                    Linux probe over SAP's NW RFC SDK (libsapnwrfc.so).
# The version is taken from CMakeLists.txt. The top folder holds the probe, the profile tool,
# the operator's guide for that archive, the reference, examples, PRTG's value lookup for a
# global sensor's channels and a rehearsal folder with the simulated RFC library; SAP's
# library is the operator's own and must never be confused with the simulated one, so the
# archive is listed afterwards and refused when its top folder
# holds an RFC library, when the guide names a path of the repository (build/, scripts/) or
# lacks a file it promises. The Linux probe is checked to load SAP's library while it runs
# (it defines none of its operations and needs no RFC library to start) and to need only glibc,
# no older than its guide states.
# Usage: package.sh [--no-build] [windows32|windows64-nwrfc|release-nwrfc]
#   (--no-build packs what build/<preset> already holds)
set -euo pipefail
cd "$(dirname "$0")/.."

build=yes
preset=windows32
for argument in "$@"; do
  case "$argument" in
    --no-build) build=no ;;
    windows32 | windows64-nwrfc | release-nwrfc) preset=$argument ;;
    *) echo "package.sh: unknown argument '$argument'" >&2; exit 2 ;;
  esac
done
# The archive's name, its key in the guide's marked sections, SAP's library, the programs.
case "$preset" in
  windows32) suffix=win32; key=win32; library=LIBRFC32.dll; exe=.exe ;;
  windows64-nwrfc) suffix=win64-nwrfc; key=win64-nwrfc; library=sapnwrfc.dll; exe=.exe ;;
  release-nwrfc) suffix=linux-x86_64-nwrfc; key=linux-nwrfc; library=libsapnwrfc.so; exe= ;;
esac

version=$(sed -n 's/^project(Kelvoran VERSION \([0-9][0-9.]*\)[ )].*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then
  echo "package.sh: no project(Kelvoran VERSION ...) in CMakeLists.txt" >&2
  exit 2
fi
name=kelvoran-$version-$suffix
bin=build/$preset

if [ "$build" = yes ]; then
  # At most two compile jobs unless the caller says otherwise: the machine is shared.
  export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
  if [ -n "$exe" ]; then
    bash scripts/cross-build.sh "$preset"
  else
    bash scripts/ensure-tools.sh build
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
  fi
fi
probe=kelvoran$exe
tool=kelvoran-profile$exe
for file in "$probe" "$tool" "$library"; do
  [ -f "$bin/$file" ] || { echo "package.sh: $bin/$file was not built" >&2; exit 1; }
done
# The archive's name must tell the version the probe itself reports (kelvoran --version).
if ! grep -qaF "Vers $version /" "$bin/$probe"; then
  echo "package.sh: $bin/$probe does not report version $version of CMakeLists.txt" >&2
  exit 1
fi

# The guide for this archive: docs/operator-guide.md without the sections marked for the
# other archives ("<!-- only KEY ... -->" up to "<!-- end -->").
guide_for_archive() {
  awk -v key="$key" '
    /^<!-- only .* -->$/ { inside = 1; keep = index(" " $0 " ", " " key " ") > 0; next }
    /^<!-- end -->$/ { inside = 0; next }
    !inside || keep' docs/operator-guide.md
}

status=0
fail() { echo "package.sh: $*" >&2; status=1; }

# The Linux probe: SAP's library is loaded, never linked; the C++ runtime is inside, so glibc
# is all it needs, in the version its guide states.
glibc=
if [ -z "$exe" ]; then
  defined=$(nm --defined-only "$bin/$probe" | awk '$3 ~ /^Rfc/ { print $3 }')
  [ -z "$defined" ] || fail "$bin/$probe defines operations of SAP's library: $(echo $defined)"
  for file in "$probe" "$tool" "$library"; do
    needed=$(readelf -d "$bin/$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    for lib in $needed; do
      case "$lib" in
        libc.so.* | libm.so.* | libdl.so.* | libpthread.so.* | ld-linux*) ;;
        *) fail "$bin/$file needs $lib: only glibc may be needed" ;;
      esac
    done
  done
  # The newest glibc symbol version any of the three uses.
  glibc=$(for file in "$probe" "$tool" "$library"; do objdump -T "$bin/$file"; done |
    grep -o 'GLIBC_[0-9][0-9.]*' | sed 's/GLIBC_//' | sort -V | tail -1)
  stated=$(guide_for_archive | sed -n 's/.*glibc \([0-9][0-9.]*\) or later.*/\1/p' | head -1)
  [ "$stated" = "$glibc" ] ||
    fail "the guide states glibc ${stated:-(none)}, the build needs glibc $glibc or later"
fi
[ "$status" = 0 ] || exit 1

stage=build/package/stage
top=$stage/$name
if [ -n "$exe" ]; then archive=build/package/$name.zip; else archive=build/package/$name.tar.gz; fi
rm -rf "$stage" "$archive"
mkdir -p "$top/docs" "$top/examples" "$top/rehearsal-simulated-sap"

# The probe and the profile tool; SAP's library goes beside them.
cp "$bin/$probe" "$bin/$tool" "$top/"

# The whole reference, so that every link of the guide and the pages finds its target; the
# guide is this archive's, also in docs/ where the other pages link to it.
cp docs/*.md "$top/docs/"
guide_for_archive >"$top/docs/operator-guide.md"
# The guide sits at the top too, so its links into docs/ gain the folder.
sed 's/](\([a-z-]*\.md\)/](docs\/\1/g' "$top/docs/operator-guide.md" >"$top/OPERATOR-GUIDE.md"

cp demo/PRD.P00 "demo/SAP Almandor.Gbl" demo/Almandor.Prf demo/SapRfc.QAS "$top/examples/"

# PRTG's value lookup of the channels a global run writes with ,DETAIL, for the lookups\custom
# folder of PRTG, which the Windows archives serve.
lookups=()
if [ -n "$exe" ]; then
  mkdir -p "$top/lookups"
  cp lookups/*.ovl "$top/lookups/"
  lookups=(lookups/kelvoran.systemverdict.ovl)
fi

# The rehearsal: the same probe beside the simulated library and the demo systems.
rehearsal=$top/rehearsal-simulated-sap
cp "$bin/$probe" "$bin/$library" "$rehearsal/"
for file in demo/*; do
  [ "$(basename "$file")" = README.txt ] || cp "$file" "$rehearsal/"
done
if [ -n "$exe" ]; then
  where="PRTG's Custom Sensors\\EXEXML folder"
  shell="open a command prompt there"
  run=kelvoran.exe
  landscape_doc='..\\docs\\landscape.md'  # escaped for sed
else
  where="the folder kelvoran runs from"
  shell="open a shell there"
  run=./kelvoran
  landscape_doc=../docs/landscape.md
fi
# The demo's own list of its systems. Over the NW RFC SDK the probe writes sapnwrfc.ini from
# SapRfc.QAS, and the library never fails inside a call, so LIB is measured like any other
# system.
demo_systems=$(sed -e 1,2d -e "s|(format: docs/landscape.md)|(format: $landscape_doc)|" \
  demo/README.txt)
if [ -z "$exe" ]; then
  demo_systems=${demo_systems/"and PRTG alarms on them"/"and a host can alarm on them"}
fi
if [ "$library" != LIBRFC32.dll ]; then
  demo_systems=${demo_systems//"through SapRfc.ini"/"through sapnwrfc.ini"}
  demo_systems=${demo_systems/"LIB  the RFC library fails (failure report, exit 1)"/"LIB  measured, every figure 0 (exit 0)"}
  if grep -q "failure report\|SapRfc\.ini" <<<"$demo_systems"; then
    echo "package.sh: demo/README.txt's lines of QAS and LIB are not the ones this script expects" >&2
    exit 1
  fi
fi
{
  cat <<EOF
SIMULATION - NOT SAP'S LIBRARY

The $library in this folder is Kelvoran's simulated RFC library, not SAP's. It answers
only for the made-up SAP systems described in Landscape.ini and never reaches an SAP system.
Never copy it (or anything else from this folder) into $where:
there $probe needs SAP's own $library (see OPERATOR-GUIDE.md).

This folder rehearses the probe without SAP: $probe takes the simulated library beside
itself, before any library elsewhere. Copy the folder somewhere of its own (the probe writes
the RFC library's files where it runs), $shell and run, for example:

  $run PRD
  $run CNS ,DETAIL
  $run DEV
  $run GLOBAL DEMO
  $run GLOBAL DEMO ,DETAIL

The demo systems:

EOF
  printf '%s\n' "$demo_systems"
} >"$rehearsal/README.txt"

if [ -n "$exe" ]; then
  # Windows line ends in the text files an operator opens in an editor.
  for file in "$top/OPERATOR-GUIDE.md" "$top"/docs/*.md "$rehearsal/README.txt"; do
    sed -i 's/\r*$/\r/' "$file"
  done
  (cd "$stage" && cmake -E tar cf "../$name.zip" --format=zip "$name")
else
  chmod 755 "$top/$probe" "$top/$tool" "$rehearsal/$probe"
  (cd "$stage" && cmake -E tar czf "../$name.tar.gz" "$name")
fi

# The check of what the operator reads: the guide names no path of the repository.
for text in "$top/OPERATOR-GUIDE.md" "$rehearsal/README.txt"; do
  paths=$(grep -on '\<\(build\|scripts\)/[A-Za-z0-9_.-]*' "$text" || true)
  [ -z "$paths" ] || fail "${text#$stage/} names paths of the repository: $(echo $paths)"
done
rm -rf "$stage"

# The check: list what the archive holds, as an operator unpacking it would see it.
listing=$(cmake -E tar tf "$archive" | sed 's:/$::')
fail_archive() { fail "$archive: $*"; }
for required in "$probe" "$tool" OPERATOR-GUIDE.md docs/operator-guide.md \
  docs/keywords-and-messages.md examples/PRD.P00 "examples/SAP Almandor.Gbl" \
  examples/Almandor.Prf "${lookups[@]}" rehearsal-simulated-sap/README.txt \
  "rehearsal-simulated-sap/$probe" \
  "rehearsal-simulated-sap/$library" rehearsal-simulated-sap/Landscape.ini; do
  grep -qxF "$name/$required" <<<"$listing" || fail_archive "lacks $name/$required"
done
# No simulated library (in any letter case) in the top folder, nor anywhere but the rehearsal
# folder: it could be taken for SAP's.
for rfc in LIBRFC32.dll sapnwrfc.dll libsapnwrfc.so; do
  if grep -qixF "$name/$rfc" <<<"$listing"; then
    fail_archive "the top folder holds a $rfc, which could be taken for SAP's"
  fi
  stray=$(grep -i "/$rfc\$" <<<"$listing" | grep -vixF "$name/$rfc" |
    grep -vxF "$name/rehearsal-simulated-sap/$library" || true)
  [ -z "$stray" ] || fail_archive "a $rfc outside the rehearsal folder: $stray"
done
outside=$(grep -vxF "$name" <<<"$listing" | grep -vF "$name/" || true)
[ -z "$outside" ] || fail_archive "entries outside the folder $name/: $outside"
if [ "$status" != 0 ]; then
  rm -f "$archive"  # an archive that fails its check is not left where it could be shipped
  exit 1
fi

echo "$archive:"
while IFS= read -r entry; do printf '  %s\n' "$entry"; done <<<"$listing"
[ -z "$glibc" ] || echo "needs glibc $glibc or later (and nothing else)"
