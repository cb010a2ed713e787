#!/usr/bin/env bash
# Benchmarks the program on workload description files, side by side with earlier versions
# of it: builds the release preset (and each -b revision in a temporary worktree), runs every
# version on each workload in turn, several times, under /usr/bin/time -v, and prints the
# medians of wall time, CPU time and peak memory; then the per-phase figures of one run of
# each version that has the phase tool (rays traced per second, points plotted per second).
#
#   bench/run.sh [-n RUNS] [-t THREADS] [-b REV]... [-H] [WORKLOAD.txt ...]
#
# Without workloads it takes ../shared/bench/*.txt.  THREADS sets OMP_NUM_THREADS.
# -b REV (repeatable) adds the program as it was at git revision REV: main, 0bd9959 (its
# first version)...  Every run starts without the pictures of the run before, so that no
# version pays for removing the files another one wrote.  Needs python3 for the timing.
# -H also runs, once and for this version only, bench/huge_rays.txt (40 million rays) and a
# bench of ten times more rays, generated.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=5
threads=""
revisions=()
huge=0
while getopts n:t:b:H opt; do
  case $opt in
    n) runs=$OPTARG ;;
    t) threads=$OPTARG ;;
    b) revisions+=("$OPTARG") ;;
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
cmake --build --preset release -j >/dev/null
names=(this)
programs=("$here/build/release/optic")
phase_tools=("$here/build/release/optic_phases")
for rev in "${revisions[@]}"; do
  tree=$scratch/rev-${#names[@]}
  git -C "$here" worktree add --detach "$tree" "$rev" >/dev/null 2>&1
  worktrees+=("$tree")
  bench=OFF
  [ -f "$tree/bench/phases.cpp" ] && bench=ON
  cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release -DOPTIC_BUILD_TESTS=OFF \
    -DOPTIC_BUILD_BENCH=$bench >/dev/null
  cmake --build "$tree/build" -j --target optic >/dev/null
  phases=""
  if [ $bench = ON ] && cmake --build "$tree/build" -j --target optic_phases >/dev/null 2>&1; then
    phases=$tree/build/optic_phases
  fi
  names+=("$rev")
  programs+=("$tree/build/optic")
  phase_tools+=("$phases")
done
[ -n "$threads" ] && export OMP_NUM_THREADS=$threads

median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

# One timed run of program $1 on workload $2 in a directory of its own: wall and CPU seconds,
# peak resident MiB (measured by Python, to the microsecond).
measure() {
  local dir=$scratch/run
  rm -rf "$dir" && mkdir -p "$dir" && cp "$2" "$dir/"
  python3 - "$1" "$(basename "$2")" "$dir" <<'EOF_PY'
import os, subprocess, sys, time
program, bench, directory = sys.argv[1:4]
start = time.perf_counter()
with open(os.devnull, "wb") as nothing:
    child = subprocess.Popen([program, bench], cwd=directory, stdout=nothing, stderr=nothing)
    _, _, usage = os.wait4(child.pid, 0)  # this child's own times and peak
wall = time.perf_counter() - start
print(f"{wall:.4f} {usage.ru_utime + usage.ru_stime:.4f} {usage.ru_maxrss / 1024:.1f}")
EOF_PY
}

printf '%-14s %-10s %10s %10s %12s\n' workload version "wall (s)" "cpu (s)" "peak (MiB)"
for w in "${workloads[@]}"; do
  for v in "${!names[@]}"; do : >"$scratch/times.$v"; done
  for _ in $(seq "$runs"); do
    for v in "${!names[@]}"; do measure "${programs[$v]}" "$w" >>"$scratch/times.$v"; done
  done
  for v in "${!names[@]}"; do
    printf '%-14s %-10s %10s %10s %12s\n' "$(basename "${w%.txt}")" "${names[$v]}" \
      "$(cut -d' ' -f1 "$scratch/times.$v" | median)" \
      "$(cut -d' ' -f2 "$scratch/times.$v" | median)" \
      "$(cut -d' ' -f3 "$scratch/times.$v" | median)"
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
    printf '%-16s %10s %10s %12s\n' "$(basename "${w%.txt}")" $(measure "${programs[0]}" "$w")
  done
fi
