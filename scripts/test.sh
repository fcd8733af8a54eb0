#!/usr/bin/env bash
# Builds the probe and its tests (under AddressSanitizer and UndefinedBehaviorSanitizer, with
# warnings as errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-tools.sh test
cmake --preset test
cmake --build --preset test
ctest --preset test
