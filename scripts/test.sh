#!/usr/bin/env bash
# Everything CI runs (.ci/run calls exactly this), in separate steps:
#   linux      the probe and its tests under AddressSanitizer and UndefinedBehaviorSanitizer,
#              warnings as errors, and the whole suite run;
#   windows64  the 64-bit Windows build, the whole suite and the demo run under wine64, the
#              demo's documents compared with the Linux build's, and its imports checked;
#   windows32  the 32-bit Windows build (the real target) and its imports checked;
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

# In a subshell, so that the Wine server is stopped however the step ends.
step_windows64() (
  bash scripts/cross-build.sh windows64
  started=$SECONDS
  trap 'bash scripts/wine.sh --stop' EXIT
  bash scripts/wine.sh --prepare
  echo "Wine prefix ready in $((SECONDS - started)) s"
  ctest --preset windows64

  # The executable a user deploys, with the simulated LIBRFC32.dll beside it, prints the same
  # documents as the Linux build, with CR LF line ends.
  bash scripts/demo.sh windows64 >build/demo-windows64.txt
  bash scripts/demo.sh test >build/demo-linux.txt
  if ! tr -d '\r' <build/demo-windows64.txt | cmp -s - build/demo-linux.txt; then
    echo "test.sh: the Windows demo differs from the Linux demo:" >&2
    diff <(tr -d '\r' <build/demo-windows64.txt) build/demo-linux.txt >&2 || true
    exit 1
  fi
  if ! grep -q $'^</Prtg>\r$' build/demo-windows64.txt || grep -q $'\r\r' build/demo-windows64.txt; then
    echo "test.sh: the Windows demo's documents do not end their lines with CR LF" >&2
    exit 1
  fi
  echo "Windows demo: the same documents as on Linux, lines ended by CR LF"
)

step_windows32() {
  bash scripts/cross-build.sh windows32
}

# Every seed and regression input of the fuzz harnesses, run once.
step_fuzz() {
  bash scripts/fuzz.sh --replay
}

steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(linux windows64 windows32 fuzz)
for step in "${steps[@]}"; do
  case "$step" in
    linux | windows64 | windows32 | fuzz) ;;
    *) echo "test.sh: unknown step '$step' (linux, windows64, windows32, fuzz)" >&2; exit 2 ;;
  esac
done
for step in "${steps[@]}"; do
  echo "== test.sh: $step"
  started=$SECONDS
  "step_$step"
  echo "== test.sh: $step passed in $((SECONDS - started)) s"
done
