#!/usr/bin/env bash
# Benchmarks the program on workload description files, side by side with the straightforward
# implementation (optic_plain, the yardstick) and with earlier versions of the program: builds
# the release preset (and each -b revision in a temporary worktree), runs every version on
# each workload in turn, several times, and prints the medians of wall time, CPU time and
# peak memory, with how many times faster than the yardstick each version ran in the same
# invocation; checks that every version's pictures are the yardstick's, byte for byte; then
# the per-phase figures of one run of each version that has the phase tool (rays traced per
# second, points plotted per second).
#
#   bench/run.sh [-n RUNS] [-t THREADS] [-b REV]... [-s] [-H] [WORKLOAD.txt ...]
#
# Without workloads it takes ../shared/bench/*.txt.  THREADS sets OMP_NUM_THREADS.
# -b REV (repeatable) adds the program as it was at git revision REV: main, 0bd9959 (its
# first version)...  -s leaves the yardstick out (it takes about 15 s on many_rays).  The
# yardstick always runs on one thread.  Every run starts without the pictures of the run before, so that no
# version pays for removing the files another one wrote.  Needs python3 for the timing.
# -H also runs, once and for this version only, bench/huge_rays.txt (40 million rays) and a
# bench of ten times more rays, generated.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=5
threads=""
revisions=()
huge=0
yardstick=1
while getopts n:t:b:sH opt; do
  case $opt in
    n) runs=$OPTARG ;;
    t) threads=$OPTARG ;;
    b) revisions+=("$OPTARG") ;;
    s) yardstick=0 ;;
    H) huge=1 ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
workloads=()
for w in "$@"; do workloads+=("$(realpath "$w")"); done
[ ${#workloads[@]} -gt 0 ] || workloads=("$here"/../shared/bench/*.txt)

scratch=$(mktemp -d)
worktrees=()
cleanup() {
  for w in "${worktrees[@]}"; do git -C "$here" worktree remove --force "$w" >/dev/null 2>&1 || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

cmake --preset release -DOPTIC_BUILD_BENCH=ON >/dev/null
cmake --build --preset release -j2 >/dev/null
names=(this)
programs=("$here/build/release/optic")
phase_tools=("$here/build/release/optic_phases")
if [ $yardstick = 1 ]; then
  names=(plain this)
  programs=("$here/build/release/optic_plain" "$here/build/release/optic")
  phase_tools=("" "$here/build/release/optic_phases")
fi
for rev in "${revisions[@]}"; do
  tree=$scratch/rev-${#names[@]}
  git -C "$here" worktree add --detach "$tree" "$rev" >/dev/null 2>&1
  worktrees+=("$tree")
  bench=OFF
  [ -f "$tree/bench/phases.cpp" ] && bench=ON
  cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release -DOPTIC_BUILD_TESTS=OFF \
    -DOPTIC_BUILD_BENCH=$bench >/dev/null
  cmake --build "$tree/build" -j2 --target optic >/dev/null
  phases=""
  if [ $bench = ON ] && cmake --build "$tree/build" -j2 --target optic_phases >/dev/null 2>&1; then
    phases=$tree/build/optic_phases
  fi
  names+=("$rev")
  programs+=("$tree/build/optic")
  phase_tools+=("$phases")
done
[ -n "$threads" ] && export OMP_NUM_THREADS=$threads

median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

# One timed run of program $1 on workload $2 in a directory of its own: wall and CPU seconds,
# peak resident MiB (measured by Python, to the microsecond).  With $3, the directory is kept
# there afterwards (the pictures, for comparing).
measure() {
  local dir=$scratch/run
  rm -rf "$dir" && mkdir -p "$dir" && cp "$2" "$dir/"
  local figures
  figures=$(python3 - "$1" "$(basename "$2")" "$dir" <<'EOF_PY'
import os, subprocess, sys, time
program, bench, directory = sys.argv[1:4]
start = time.perf_counter()
with open(os.devnull, "wb") as nothing:
    child = subprocess.Popen([program, bench], cwd=directory, stdout=nothing, stderr=nothing)
    _, _, usage = os.wait4(child.pid, 0)  # this child's own times and peak
wall = time.perf_counter() - start
print(f"{wall:.4f} {usage.ru_utime + usage.ru_stime:.4f} {usage.ru_maxrss / 1024:.1f}")
EOF_PY
  )
  if [ -n "${3:-}" ]; then mv "$dir" "$3"; fi
  echo "$figures"
}

# Every file the first run of version $1 left, against the yardstick's first run.
same_pictures() {
  [ $yardstick = 1 ] && [ "$1" != 0 ] || { echo; return; }
  if diff -r "$scratch/pictures.0" "$scratch/pictures.$1" >/dev/null; then echo identical; else echo DIFFERENT; fi
}

printf '%-14s %-10s %10s %10s %12s %9s  %s\n' workload version "wall (s)" "cpu (s)" "peak (MiB)" \
  "vs plain" "pictures"
for w in "${workloads[@]}"; do
  for v in "${!names[@]}"; do
    : >"$scratch/times.$v"
    rm -rf "$scratch/pictures.$v"
  done
  for _ in $(seq "$runs"); do
    for v in "${!names[@]}"; do
      keep=""
      [ -e "$scratch/pictures.$v" ] || keep=$scratch/pictures.$v
      if [ $yardstick = 1 ] && [ "$v" = 0 ]; then
        OMP_NUM_THREADS=1 measure "${programs[$v]}" "$w" "$keep" >>"$scratch/times.$v"
      else
        measure "${programs[$v]}" "$w" "$keep" >>"$scratch/times.$v"
      fi
    done
  done
  for v in "${!names[@]}"; do
    wall=$(cut -d' ' -f1 "$scratch/times.$v" | median)
    ratio=""
    [ $yardstick = 1 ] && ratio=$(awk -v a="$(cut -d' ' -f1 "$scratch/times.0" | median)" \
      -v b="$wall" 'BEGIN { printf "%.1fx", a / b }')
    printf '%-14s %-10s %10s %10s %12s %9s  %s\n' "$(basename "${w%.txt}")" "${names[$v]}" "$wall" \
      "$(cut -d' ' -f2 "$scratch/times.$v" | median)" \
      "$(cut -d' ' -f3 "$scratch/times.$v" | median)" "$ratio" "$(same_pictures "$v")"
  done
done
echo
for w in "${workloads[@]}"; do
  for v in "${!names[@]}"; do
    [ -n "${phase_tools[$v]}" ] || continue
    echo "== $(basename "$w") phases, ${names[$v]}"
    rm -rf "$scratch/run" && mkdir -p "$scratch/run"
    (cd "$scratch/run" && "${phase_tools[$v]}" "$w" ${threads:+"$threads"})
  done
done

if [ $huge = 1 ]; then
  echo
  # Ten times bench/huge_rays.txt: the same lens, forty source lines of a million rays each.
  dix=$scratch/huge_rays_x10.txt
  grep -v '^[SZ#]' "$here/bench/huge_rays.txt" >"$dix"
  for _ in $(seq 10); do grep '^S' "$here/bench/huge_rays.txt" >>"$dix"; done
  grep '^Z' "$here/bench/huge_rays.txt" >>"$dix"
  printf '%-16s %10s %10s %12s\n' workload "wall (s)" "cpu (s)" "peak (MiB)"
  for w in "$here/bench/huge_rays.txt" "$dix"; do
    printf '%-16s %10s %10s %12s\n' "$(basename "${w%.txt}")" $(measure "${programs[$yardstick]}" "$w")
  done
fi
