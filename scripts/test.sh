#!/usr/bin/env bash
# Builds the probe and its tests (under AddressSanitizer and UndefinedBehaviorSanitizer, with
# warnings as errors) and runs every test; then replays the fuzz corpora (a second build, with
# clang and libFuzzer, see scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-tools.sh test
cmake --preset test
cmake --build --preset test
ctest --preset test

# Fuzz corpora: every seed and regression input of tests/fuzz/corpus, run once.
bash scripts/fuzz.sh --replay
