#!/usr/bin/env bash
# Measures what the probe costs per start against the simulated RFC library: wall time with
# hyperfine and peak resident memory with GNU time, for a static hello-world program (the
# floor: a bare process start), a single-system run, and global runs over 10, 100 and 1000
# systems. Prints the numbers and how they compare with the targets:
#   - a single-system run within 1.3 times the floor's wall time;
#   - peak resident memory under 2 MiB;
#   - a global run's cost growing linearly with its systems, 1000 systems within 10 times a
#     single-system run;
#   - probes started together in one folder are not serialised: 4 single-system runs started
#     at once, against 4 run one after the other, gain about as much as 4 floor programs do
#     (their ratio at most 1.15 times the floor's), on the direct route and on the
#     per-destination route (which waits for the others only around the open).
# Then, against slow systems (20 ms on every open, call and receive), global runs over 10 and
# 100 systems: their wall time against the sum of the waits they cannot avoid, within 1.05
# times it; and the run deadline's precision, the time from a deadline (TIMEOUT=1, a system
# hanging in RfcReceive) to the end of the process, at most 0.5 s in every run.
# Last, global runs with PARALLEL=n (docs/parallel-runs.md): 250 systems that each wait 1 s
# (200 ms on every open, call and receive) at PARALLEL=16 against the ideal of ceil(250/16)
# = 16 s, within 1.15 times it; 100 systems at PARALLEL=1 against the same run without the
# keyword, within 2 %; and the peak resident memory of the probe and its children together.
# Usage: bench.sh [--runs N] [--parallel-only]   (at least N timed runs per command, default
#        50; the slow runs take seconds each and are timed 3 times, the deadline 10 times, the
#        250 systems at PARALLEL=16 3 times; --parallel-only measures the last rows alone)
# Exit status 0 when every target is met, 1 when one is missed, 2 when the benchmark failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

runs=50
parallel_only=0
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=${2:?--runs needs a number}; shift 2 ;;
    --parallel-only) parallel_only=1; shift ;;
    *) echo "usage: bench.sh [--runs N] [--parallel-only]" >&2; exit 2 ;;
  esac
done

bash scripts/ensure-tools.sh build bench
cmake --preset release >/dev/null
cmake --build --preset release -j 2
probe="$root/build/release/kelvoran"
profile_tool="$root/build/release/kelvoran-profile"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -O2 -static -o "$work/hello" bench/hello.cpp
cd "$work"

# One landscape per size, so that the simulated library reads no more systems than a run
# measures; hyperfine puts the right one in place before each run. All systems share one
# logon, and every profile is the same apart from its destination and host.
sizes=(1 10 100 1000)
password=BenchMoni1
stored=$(printf '%s\n' "$password" | "$profile_tool" encode -)
system_name() { printf 'S%04d' "$1"; }

for ((i = 0; i < 1000; i++)); do
  name=$(system_name "$i")
  printf '%s\r\n' "Destination: $name" "Client.....: 100" "User.......: moni" \
    "Password...: $stored" "Language...: E" "Mode.......: R/3" "Hostname...: h$name" \
    "Sysnr......: 00" "Gwhost.....: sapgw01" "Gwservice..: sapgw00" "Extcompany.: Bench" \
    >"$name.P00"
done
"$profile_tool" check S0000.P00 >/dev/null || { echo "bench: generated profile refused" >&2; exit 2; }

for size in "${sizes[@]}"; do
  for ((i = 0; i < size; i++)); do
    name=$(system_name "$i")
    printf '[%s]\nASHOST = h%s\nSYSNR = 00\nLOGON = 100 MONI %s\n' "$name" "$name" "$password"
    printf 'FS_A_DATE = 20241007\nFS_A_TIME = 061500\nTAB_CNT = 41234\nCST_CNT = 40877\n'
    printf 'IDX_CNT = 61590\n'
  done >"land$size.ini"
done

# Slow systems: every open, call and receive waits 20 ms. A system costs one open and two
# calls with their answers: 100 ms of waiting.
delay_ms=20
waits_per_system=5
for size in 10 100; do
  for ((i = 0; i < size; i++)); do
    name=$(system_name "$i")
    printf '[%s]\nASHOST = h%s\nSYSNR = 00\nLOGON = 100 MONI %s\n' "$name" "$name" "$password"
    printf 'DELAY_OPEN = %d\nDELAY_CALL = %d\nDELAY_RECEIVE = %d\n' "$delay_ms" "$delay_ms" \
      "$delay_ms"
  done >"slow$size.ini"
done
# A system that never answers its first RfcReceive, for the deadline.
printf '[S0000]\nASHOST = hS0000\nSYSNR = 00\nLOGON = 100 MONI %s\nHANG = RfcReceive\n' \
  "$password" >hang.ini

# Sensor listing: sensor G<n> measures the first n systems, ten names per listing line.
for size in "${sizes[@]:1}"; do
  sensor=$(printf '%-10s' "G$size")
  line=""
  for ((i = 0; i < size; i++)); do
    line+="$(system_name "$i").P00#"
    if (((i + 1) % 10 == 0)) || ((i + 1 == size)); then
      printf '# GSNG: %s::%s\n' "$sensor" "$line"
      line=""
    fi
  done
  printf '# GSNX: %s:Item=Bench%s,Sensor="SAP Kelvoran"\n' "$sensor" "$size"
done >"SAP Almandor.Gbl"

# Global runs with PARALLEL=n. Sensor G250 measures the first 250 systems; each of them waits
# 200 ms on its open and on each of its two calls and two receives: 1 s per system.
parallel_systems=250
parallel_width=16
parallel_delay_ms=200
line=""
for ((i = 0; i < parallel_systems; i++)); do
  line+="$(system_name "$i").P00#"
  if (((i + 1) % 10 == 0)) || ((i + 1 == parallel_systems)); then
    printf '# GSNG: %-10s::%s\n' "G$parallel_systems" "$line"
    line=""
  fi
done >>"SAP Almandor.Gbl"
printf '# GSNX: %-10s:Item=Bench%s,Sensor="SAP Kelvoran"\n' "G$parallel_systems" \
  "$parallel_systems" >>"SAP Almandor.Gbl"
for ((i = 0; i < parallel_systems; i++)); do
  name=$(system_name "$i")
  printf '[%s]\nASHOST = h%s\nSYSNR = 00\nLOGON = 100 MONI %s\n' "$name" "$name" "$password"
  printf 'DELAY_OPEN = %d\nDELAY_CALL = %d\nDELAY_RECEIVE = %d\n' "$parallel_delay_ms" \
    "$parallel_delay_ms" "$parallel_delay_ms"
done >"second$parallel_systems.ini"

# The sum of the resident memory of a process and its children, in KiB, sampled every 20 ms
# while it runs; prints the largest sum. Usage: tree_peak_kib COMMAND [ARGUMENT...]
tree_peak_kib() {
  "$@" >/dev/null &
  local root=$! peak=0 sum
  while kill -0 "$root" 2>/dev/null; do
    sum=$({ ps -o rss= -p "$root"; ps -o rss= --ppid "$root"; } 2>/dev/null |
      awk '{ s += $1 } END { print s + 0 }')
    if ((sum > peak)); then peak=$sum; fi
    sleep 0.02
  done
  wait "$root" || true
  echo "$peak"
}

parallel_rows() {
  ln -sf "second$parallel_systems.ini" Landscape.ini
  local out status=0
  out=$("$probe" GLOBAL "G$parallel_systems PARALLEL=$parallel_width") || status=$?
  if [ "$status" -ne 0 ] ||
    [[ "$out" != *"NoSystems=$parallel_systems, Processed=$parallel_systems, Failed=0"* ]]; then
    printf 'bench: the parallel run ended with exit status %d:\n%s\n' "$status" "$out" >&2
    exit 2
  fi
  ln -sf land100.ini Landscape.ini
  for keyword in "" " PARALLEL=1"; do
    out=$("$probe" GLOBAL "G100$keyword") || { echo "bench: G100$keyword failed" >&2; exit 2; }
    [[ "$out" == *"NoSystems=100, Processed=100, Failed=0"* ]] ||
      { echo "bench: G100$keyword did not measure its systems:" >&2; echo "$out" >&2; exit 2; }
  done
  hyperfine -N --warmup 0 --runs 3 --export-csv parallel-slow.csv \
    --command-name "parallel-$parallel_width-of-$parallel_systems" \
    --prepare "ln -sf second$parallel_systems.ini Landscape.ini" \
    "$probe GLOBAL G$parallel_systems PARALLEL=$parallel_width"
  hyperfine -N --warmup 5 --min-runs "$runs" --export-csv parallel-one.csv \
    --prepare "ln -sf land100.ini Landscape.ini" \
    --command-name in-turn-100 --command-name parallel-1-100 \
    "$probe GLOBAL G100" "$probe GLOBAL G100 PARALLEL=1"
  ln -sf "second$parallel_systems.ini" Landscape.ini
  local tree_kib
  tree_kib=$(tree_peak_kib "$probe" GLOBAL "G$parallel_systems PARALLEL=$parallel_width")

  declare -A parallel_ms
  while IFS=, read -r name _ _ median _; do
    [ "$name" = command ] && continue
    parallel_ms[$name]=$(awk -v s="$median" 'BEGIN { printf "%.3f", s * 1000 }')
  done < <(cat parallel-slow.csv parallel-one.csv)
  local ideal_ms=$((((parallel_systems + parallel_width - 1) / parallel_width) * 1000))
  echo
  echo "| Global run | Median wall time | Against |"
  echo "|---|---|---|"
  printf '| %d systems of 1 s at PARALLEL=%d | %s ms | ideal %d ms (in turn: %d s) |\n' \
    "$parallel_systems" "$parallel_width" "${parallel_ms[parallel-$parallel_width-of-$parallel_systems]}" \
    "$ideal_ms" "$parallel_systems"
  printf '| 100 systems, PARALLEL=1 | %s ms | without the keyword %s ms |\n' \
    "${parallel_ms[parallel-1-100]}" "${parallel_ms[in-turn-100]}"
  printf '| peak resident memory, probe and children, PARALLEL=%d | %s KiB | |\n' \
    "$parallel_width" "$tree_kib"
  echo
  check "$parallel_systems systems of 1 s at PARALLEL=$parallel_width / ideal" \
    "$(ratio "${parallel_ms[parallel-$parallel_width-of-$parallel_systems]}" "$ideal_ms")" 1.15
  check "100 systems at PARALLEL=1 / without the keyword" \
    "$(ratio "${parallel_ms[parallel-1-100]}" "${parallel_ms[in-turn-100]}")" 1.02
}

missed=0
check() {  # description, measured, limit
  if awk -v m="$2" -v l="$3" 'BEGIN { exit !(m <= l) }'; then
    printf 'met     %s: %s (at most %s)\n' "$1" "$2" "$3"
  else
    printf 'MISSED  %s: %s (at most %s)\n' "$1" "$2" "$3"
    missed=1
  fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

if [ "$parallel_only" -eq 1 ]; then
  parallel_rows
  exit "$missed"
fi

# Commands are split into words at blanks (hyperfine -N does the same): paths without blanks.
names=("floor" "single" "global-10" "global-100" "global-1000")
commands=("$work/hello" "$probe S0000" "$probe GLOBAL G10" "$probe GLOBAL G100"
  "$probe GLOBAL G1000")
landscapes=(land1.ini land1.ini land10.ini land100.ini land1000.ini)

# Every command must do its work before it is timed: a run that fails early is cheap.
for k in 1 2 3 4; do
  ln -sf "${landscapes[$k]}" Landscape.ini
  status=0
  out=$(${commands[$k]}) || status=$?
  if [ "$status" -ne 0 ]; then
    printf 'bench: %s ended with exit status %d:\n%s\n' "${names[$k]}" "$status" "$out" >&2
    exit 2
  fi
  case "${names[$k]}" in
    single) expected="<Value>41234</Value>" ;;
    global-*) n=${names[$k]#global-}
      expected="NoSystems=$n, Processed=$n, Failed=0" ;;
  esac
  if [[ "$out" != *"$expected"* ]]; then
    echo "bench: ${names[$k]} did not measure its systems:" >&2
    echo "$out" >&2
    exit 2
  fi
done

hyperfine_args=(-N --warmup 5 --min-runs "$runs" --export-csv times.csv)
for k in "${!names[@]}"; do
  hyperfine_args+=(--command-name "${names[$k]}" --prepare "ln -sf ${landscapes[$k]} Landscape.ini")
done
hyperfine "${hyperfine_args[@]}" "${commands[@]}"

# Peak resident memory: the largest of a few runs of each command.
declare -A peak_kib
for k in "${!names[@]}"; do
  ln -sf "${landscapes[$k]}" Landscape.ini
  peak=0
  for _ in 1 2 3; do
    kib=$(/usr/bin/time -v ${commands[$k]} 2>&1 >/dev/null |
      awk -F': ' '/Maximum resident set size/ { print $2 }')
    if ((kib > peak)); then peak=$kib; fi
  done
  peak_kib[${names[$k]}]=$peak
done

# Slow systems and the deadline, each checked before it is timed.
for size in 10 100; do
  ln -sf "slow$size.ini" Landscape.ini
  out=$("$probe" GLOBAL "G$size") || { echo "bench: slow-$size failed:" >&2; echo "$out" >&2; exit 2; }
  [[ "$out" == *"NoSystems=$size, Processed=$size, Failed=0"* ]] ||
    { echo "bench: slow-$size did not measure its systems:" >&2; echo "$out" >&2; exit 2; }
done
ln -sf hang.ini Landscape.ini
status=0
out=$("$probe" S0000 TIMEOUT=1) || status=$?
if [ "$status" -ne 2 ] || [[ "$out" != *"Error 1032: Timeout after 1 s in RfcReceive for S0000 !"* ]]; then
  printf 'bench: the deadline ended with exit status %d:\n%s\n' "$status" "$out" >&2
  exit 2
fi
hyperfine -N --warmup 1 --runs 3 --export-csv slow.csv \
  --command-name slow-10 --prepare "ln -sf slow10.ini Landscape.ini" \
  --command-name slow-100 --prepare "ln -sf slow100.ini Landscape.ini" \
  "$probe GLOBAL G10" "$probe GLOBAL G100"
hyperfine -N -i --warmup 1 --runs 10 --export-csv deadline.csv --command-name deadline \
  --prepare "ln -sf hang.ini Landscape.ini" "$probe S0000 TIMEOUT=1"

# Wall times in milliseconds from hyperfine's CSV (command,mean,stddev,median,... in seconds).
# The targets are judged on the median: the machine is shared, and a few runs slowed down by
# other work move the mean far more than the typical run.
declare -A mean_ms median_ms stddev_ms
while IFS=, read -r name mean stddev median _; do
  [ "$name" = command ] && continue
  mean_ms[$name]=$(awk -v s="$mean" 'BEGIN { printf "%.3f", s * 1000 }')
  stddev_ms[$name]=$(awk -v s="$stddev" 'BEGIN { printf "%.3f", s * 1000 }')
  median_ms[$name]=$(awk -v s="$median" 'BEGIN { printf "%.3f", s * 1000 }')
done <times.csv
# The slow runs and the deadline: median and longest run (command,mean,stddev,median,user,
# system,min,max).
declare -A max_ms
while IFS=, read -r name mean stddev median _ _ _ max _; do
  [ "$name" = command ] && continue
  median_ms[$name]=$(awk -v s="$median" 'BEGIN { printf "%.3f", s * 1000 }')
  max_ms[$name]=$(awk -v s="$max" 'BEGIN { printf "%.3f", s * 1000 }')
done < <(cat slow.csv deadline.csv)

echo
echo "| Run | Median wall time | Mean ± σ | Peak resident memory |"
echo "|---|---|---|---|"
for name in "${names[@]}"; do
  printf '| %s | %s ms | %s ± %s ms | %s KiB |\n' "$name" "${median_ms[$name]}" \
    "${mean_ms[$name]}" "${stddev_ms[$name]}" "${peak_kib[$name]}"
done
echo

floor=${median_ms[floor]}
single=${median_ms[single]}
check "single-system run / floor" "$(ratio "$single" "$floor")" 1.30
check "global run over 1000 systems / single-system run" \
  "$(ratio "${median_ms[global-1000]}" "$single")" 10.00
# Linear growth: the cost per added system stays the same from 10 to 100 to 1000 systems
# (within a factor of 1.5, which leaves room for noise on the small runs).
per10_100=$(awk -v a="${median_ms[global-10]}" -v b="${median_ms[global-100]}" \
  'BEGIN { printf "%.4f", (b - a) / 90 }')
per100_1000=$(awk -v a="${median_ms[global-100]}" -v b="${median_ms[global-1000]}" \
  'BEGIN { printf "%.4f", (b - a) / 900 }')
echo "        cost per added system: ${per10_100} ms (10 to 100), ${per100_1000} ms (100 to 1000)"
check "growth per system, 100 to 1000 / 10 to 100" \
  "$(awk -v a="$per10_100" -v b="$per100_1000" 'BEGIN { printf "%.2f", (a > 0 ? b / a : 99) }')" \
  1.50
for name in "${names[@]:1}"; do
  check "peak resident memory of $name (KiB)" "${peak_kib[$name]}" 2048
done

# Sensors of one interval start together in one folder. Four runs started at once against the
# same four run one after the other, in a folder of their own per route: on the direct route
# the probes take no lock but the shared one of their RFC phase, on the per-destination route
# each waits for the others only from its copy over SapRfc.ini to the end of its RfcOpenEx.
# How much starting at once gains depends on the cores free at the moment, so the floor
# program is measured the same way beside them: the probe must gain about as much as a bare
# process start does.
together=4
for route in direct destination; do
  mkdir "$route"
  cp S0000.P00 "$route/"
  cp land1.ini "$route/Landscape.ini"
done
printf 'DEST=S0000\nASHOST=hS0000\nSYSNR=00\n' >destination/SapRfc.S0000
# at-once.sh / in-turn.sh DIRECTORY PROGRAM [ARGUMENT...]
printf '#!/usr/bin/env bash\ncd "$1"; shift\nfor ((i = 0; i < %d; i++)); do "$@" >"out$i" & done\nwait\n' \
  "$together" >at-once.sh
printf '#!/usr/bin/env bash\ncd "$1"; shift\nfor ((i = 0; i < %d; i++)); do "$@" >"out$i"; done\n' \
  "$together" >in-turn.sh
for route in direct destination; do
  for script in at-once in-turn; do
    bash "$script.sh" "$work/$route" "$probe" S0000
    for ((i = 0; i < together; i++)); do
      out=$(cat "$route/out$i")
      if [[ "$out" != *"<Value>41234</Value>"* ]] ||
        { [ "$route" = destination ] && [[ "$out" != *"SapRfc.Ini.......: S0000<"* ]]; }; then
        printf 'bench: %s %s: a run did not measure its system:\n' "$route" "$script" >&2
        echo "$out" >&2
        exit 2
      fi
    done
  done
done
shared_names=()
shared_commands=()
for row in floor direct destination; do
  for script in at-once in-turn; do
    shared_names+=("$row-$together-$script")
    if [ "$row" = floor ]; then
      shared_commands+=("bash $work/$script.sh $work/direct $work/hello")
    else
      shared_commands+=("bash $work/$script.sh $work/$row $probe S0000")
    fi
  done
done
shared_args=(-N --warmup 3 --min-runs "$runs" --export-csv shared.csv)
for name in "${shared_names[@]}"; do shared_args+=(--command-name "$name"); done
hyperfine "${shared_args[@]}" "${shared_commands[@]}"
declare -A shared_ms
while IFS=, read -r name _ _ median _; do
  [ "$name" = command ] && continue
  shared_ms[$name]=$(awk -v s="$median" 'BEGIN { printf "%.3f", s * 1000 }')
done <shared.csv
declare -A gain
echo
echo "| $together runs in one folder | Started at once | One after the other | Ratio |"
echo "|---|---|---|---|"
for row in floor direct destination; do
  at_once=${shared_ms[$row-$together-at-once]}
  in_turn=${shared_ms[$row-$together-in-turn]}
  gain[$row]=$(ratio "$at_once" "$in_turn")
  printf '| %s | %s ms | %s ms | %s |\n' "$row" "$at_once" "$in_turn" "${gain[$row]}"
done
echo
for route in direct destination; do
  check "$route route: ratio of $together runs at once to in turn, over the floor's" \
    "$(ratio "${gain[$route]}" "${gain[floor]}")" 1.15
done
for size in 10 100; do
  waits=$((size * waits_per_system * delay_ms))
  echo "        slow-$size: ${median_ms[slow-$size]} ms for ${waits} ms of waiting"
  check "global run over $size slow systems / its waits" \
    "$(ratio "${median_ms[slow-$size]}" "$waits")" 1.05
done
after_median=$(awk -v m="${median_ms[deadline]}" 'BEGIN { printf "%.1f", m - 1000 }')
after_max=$(awk -v m="${max_ms[deadline]}" 'BEGIN { printf "%.1f", m - 1000 }')
echo "        deadline to end of process: median ${after_median} ms, longest ${after_max} ms"
check "deadline to end of process, longest of 10 runs (ms)" "$after_max" 500
parallel_rows
exit "$missed"
