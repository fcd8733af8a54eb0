#!/usr/bin/env bash
# Everything CI runs (.ci/run calls exactly this), in separate steps:
#   linux      the probe and its tests under AddressSanitizer and UndefinedBehaviorSanitizer,
#              warnings as errors, and the whole suite run;
#   windows32  the 32-bit Windows build (the real target, the one users deploy): its imports
#              checked, the whole suite and the demo run under Debian's 32-bit Wine, the demo's
#              documents compared with the Linux build's, the release archive packed and
#              checked (scripts/package.sh);
#   nwrfc      the probe built for SAP's NW RFC SDK, against the simulated SDK, the same way,
#              and the Linux release archive (its probe loading libsapnwrfc.so) packed and
#              checked;
#   windows64  the 64-bit Windows build (SAP's records in their 64-bit layout), the same under
#              wine64;
#   windows64-nwrfc  the 64-bit Windows build for the NW RFC SDK with the simulated
#              sapnwrfc.dll, the same under wine64, and its release archive;
#   fuzz       the fuzz corpora (tests/fuzz/corpus) replayed, a second build with clang and
#              libFuzzer (see scripts/fuzz.sh).
# Usage: test.sh [STEP...]   (default: every step, in this order)
set -euo pipefail
cd "$(dirname "$0")/.."

step_linux() {
  bash scripts/ensure-tools.sh test
  cmake --preset test
  cmake --build --preset test
  ctest --preset test
}

# The probe built for SAP's NW RFC SDK, against the simulated SDK, with the same sanitizers;
# then the Linux archive, from the release build.
step_nwrfc() {
  bash scripts/ensure-tools.sh test
  cmake --preset test-nwrfc
  cmake --build --preset test-nwrfc
  ctest --preset test-nwrfc
  bash scripts/package.sh release-nwrfc
}

# One Windows build: built and its imports checked, the whole suite run under Wine, and the
# executable a user deploys, with the simulated LIBRFC32.dll beside it, printing the same demo
# documents as the Linux build, with CR LF line ends. In a subshell, so that the Wine server is
# stopped however the step ends.
windows_step() (  # preset wine-script linux-preset
  preset=$1
  wine=$2
  linux=$3
  bash scripts/cross-build.sh "$preset"
  started=$SECONDS
  trap 'bash scripts/'"$wine"' --stop' EXIT
  bash "scripts/$wine" --prepare
  echo "Wine prefix ready in $((SECONDS - started)) s"
  ctest --preset "$preset"

  bash scripts/demo.sh "$preset" >"build/demo-$preset.txt"
  bash scripts/demo.sh "$linux" >"build/demo-$linux.txt"
  # The milliseconds of a global run's slowest system differ from run to run.
  comparable() { tr -d '\r' <"$1" | sed '/<Unit>TimeResponse<\/Unit>/{n;s/[0-9][0-9]*/ms/;}'; }
  if ! cmp -s <(comparable "build/demo-$preset.txt") <(comparable "build/demo-$linux.txt"); then
    echo "test.sh: the $preset demo differs from the Linux demo:" >&2
    diff <(comparable "build/demo-$preset.txt") <(comparable "build/demo-$linux.txt") >&2 || true
    exit 1
  fi
  if ! grep -q $'^</Prtg>\r$' "build/demo-$preset.txt" || grep -q $'\r\r' "build/demo-$preset.txt"; then
    echo "test.sh: the $preset demo's documents do not end their lines with CR LF" >&2
    exit 1
  fi
  echo "$preset demo: the same documents as on Linux, lines ended by CR LF"
)

# The 32-bit build is the one users deploy: its release archive is packed and checked too.
step_windows32() {
  windows_step windows32 wine32.sh test
  bash scripts/package.sh --no-build
}

step_windows64() {
  windows_step windows64 wine.sh test
}

# The probe for SAP's NW RFC SDK as 64-bit Windows runs it, with the simulated sapnwrfc.dll.
step_windows64_nwrfc() {
  windows_step windows64-nwrfc wine.sh test-nwrfc
  bash scripts/package.sh --no-build windows64-nwrfc
}

# Every seed and regression input of the fuzz harnesses, run once.
step_fuzz() {
  bash scripts/fuzz.sh --replay
}

steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(linux nwrfc windows32 windows64 windows64-nwrfc fuzz)
for step in "${steps[@]}"; do
  case "$step" in
    linux | nwrfc | windows32 | windows64 | windows64-nwrfc | fuzz) ;;
    *)
      echo "test.sh: unknown step '$step' (linux, nwrfc, windows32, windows64," \
        "windows64-nwrfc, fuzz)" >&2
      exit 2
      ;;
  esac
done
for step in "${steps[@]}"; do
  echo "== test.sh: $step"
  started=$SECONDS
  "step_${step//-/_}"
  echo "== test.sh: $step passed in $((SECONDS - started)) s"
done
