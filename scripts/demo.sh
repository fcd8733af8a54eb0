#!/usr/bin/env bash
# Builds the probe and measures the bundled demo systems (demo/) against the simulated RFC
# library: single-system runs in two host flavours, a system with missing objects measured with
# its detail channels, a failing system with its trace line, and a global run with its summary,
# also with its channels per system.
# Runs in a copy of demo/, since the probe writes SapRfc.ini, Dev_Rfc.Trc and deletes the
# latter in its working directory.
# Usage: demo.sh [release|test|windows32|windows64|release-nwrfc|test-nwrfc|windows64-nwrfc]
# (default release; the Windows presets run kelvoran.exe with the simulated LIBRFC32.dll, or
# for -nwrfc sapnwrfc.dll, beside it under 32-bit Wine or wine64)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
case "$preset" in
  release | test | release-nwrfc | test-nwrfc)
    bash scripts/ensure-tools.sh "$(case "$preset" in test*) echo test ;; *) echo build ;; esac)" >&2
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" >&2
    probe=("$PWD/build/$preset/kelvoran")
    # Run as the end-to-end tests run it, without LeakSanitizer.
    export ASAN_OPTIONS=detect_leaks=0
    ;;
  windows32 | windows64 | windows64-nwrfc)
    wine=$([ "$preset" = windows32 ] && echo wine32.sh || echo wine.sh)
    bash scripts/ensure-tools.sh "${preset%-nwrfc}" >&2
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" >&2
    bash "scripts/$wine" --prepare
    probe=(bash "$PWD/scripts/$wine" "$PWD/build/$preset/kelvoran.exe")
    ;;
  *)
    echo "demo.sh: unknown preset '$preset'" >&2
    exit 2
    ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r demo/. "$work"
cd "$work"

run() {
  printf '\n$ kelvoran %s\n' "$*"
  local status=0
  "${probe[@]}" "$@" </dev/null || status=$?
  printf '[exit status %d]\n' "$status"
}

echo "== A measured system, as PRTG's EXE/XML sensor reads it"
run PRD
echo
echo "== The same figures for a Tolvane host, one reached through SapRfc.QAS"
run QAS FLAVOUR=Tolvane
echo
echo "== A system with missing objects, measured with ,DETAIL: PRTG alarms on every channel"
echo "   of missing or unknown objects whose count is above 0 (here an index, a view, tables)"
run CNS ,DETAIL
echo
echo "== The same for a Tolvane host"
run CNS FLAVOUR=Tolvane,DETAIL
echo
echo "== A failing system: the error document carries the RFC library's explanation"
run DEV
echo
echo "== A global run over the sensor DEMO: two measured, two failing, one profile missing"
run GLOBAL DEMO
echo
echo "== The same with ,DETAIL: the failing systems named, and a channel per system PRTG alarms on"
run GLOBAL DEMO ,DETAIL
