#!/usr/bin/env bash
# Builds the fuzz harnesses of tests/fuzz (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and either fuzzes each of them or replays their corpora.
#
# Usage: fuzz.sh [SECONDS [NAME...]]  fuzz every harness (or the named ones, e.g. landscape) for
#                                     SECONDS (default 60) and report findings
#        fuzz.sh --replay             run every input of tests/fuzz/corpus once (scripts/test.sh)
#
# Fuzzing starts from the seed corpus tests/fuzz/corpus/NAME/ and keeps what it learns in
# build/fuzz/corpus/NAME/, so the repository only changes when you copy an input over. A finding
# (an input that crashes or breaks a harness's check) is saved in build/fuzz/findings/NAME/;
# add it to tests/fuzz/corpus/NAME/ as regression-WHAT once it is mended.
# Exit status: 0 nothing found, 1 a finding or a failed replay, 2 bad usage.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=fuzz
seconds=60
case "${1:-}" in
  "") ;;
  --replay) mode=replay ;;
  *[!0-9]* | 0)
    echo "usage: fuzz.sh [SECONDS [NAME...]] | --replay" >&2
    exit 2
    ;;
  *) seconds=$1 ;;
esac
[ $# -gt 0 ] && shift

bash scripts/ensure-tools.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

harnesses=()
if [ "$mode" = fuzz ] && [ $# -gt 0 ]; then
  for name in "$@"; do
    if [ ! -f "tests/fuzz/${name}_fuzzer.cpp" ]; then
      echo "fuzz.sh: no harness '$name' (tests/fuzz/${name}_fuzzer.cpp)" >&2
      exit 2
    fi
    harnesses+=("${name}_fuzzer")
  done
else
  for source in tests/fuzz/*_fuzzer.cpp; do
    harnesses+=("$(basename "$source" .cpp)")
  done
fi

# The harnesses run the probe in-process; what it writes in its working directory outside the
# file seam (Kelvoran.Log with ,SYSLOG) lands in build/fuzz/run, not in the repository.
root=$(pwd)
mkdir -p build/fuzz/run
in_run_folder() { (cd build/fuzz/run && "$@"); }

failed=()
for harness in "${harnesses[@]}"; do
  name=${harness%_fuzzer}
  seeds=tests/fuzz/corpus/$name
  binary=build/fuzz/$harness
  if [ "$mode" = replay ]; then
    mapfile -t inputs < <(find "$root/$seeds" -type f | sort)
    if [ ${#inputs[@]} -eq 0 ]; then
      echo "$harness: no inputs in $seeds" >&2
      failed+=("$harness")
      continue
    fi
    if in_run_folder "$root/$binary" "${inputs[@]}" >"build/fuzz/$harness.replay.log" 2>&1; then
      echo "$harness: ${#inputs[@]} inputs replayed"
    else
      echo "$harness: FAILED replaying $seeds (see build/fuzz/$harness.replay.log)" >&2
      tail -n 30 "build/fuzz/$harness.replay.log" >&2
      failed+=("$harness")
    fi
    continue
  fi

  work=build/fuzz/corpus/$name
  findings=build/fuzz/findings/$name
  mkdir -p "$work" "$findings"
  log=build/fuzz/$harness.log
  echo "$harness: fuzzing for ${seconds}s"
  before=$(find "$findings" -type f | wc -l)
  status=0
  in_run_folder "$root/$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$root/$findings/" "$root/$work" "$root/$seeds" \
    >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  found=$(($(find "$findings" -type f | wc -l) - before))
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
    echo "$harness: FOUND $found input(s) in $findings after ${runs:-?} runs (see $log)" >&2
    grep -m 3 -E 'contract broken|ERROR: |SUMMARY' "$log" >&2 || true
    failed+=("$harness")
  else
    echo "$harness: nothing found in ${runs:-?} runs; corpus $(find "$work" -type f | wc -l) inputs"
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz.sh: ${#failed[@]} harness(es) failed: ${failed[*]}" >&2
  exit 1
fi
if [ "$mode" = replay ]; then
  echo "fuzz.sh: the corpora of ${#harnesses[@]} harnesses replayed, nothing found"
else
  echo "fuzz.sh: ${#harnesses[@]} harnesses fuzzed for ${seconds}s each, nothing found"
fi
