#!/usr/bin/env bash
# Benchmarks the program on workload description files: builds the release preset, runs
# each workload several times under /usr/bin/time -v and prints the medians of wall time,
# CPU time and peak memory, then the per-phase figures of one run (rays traced per second,
# points plotted per second).
#
#   bench/run.sh [-n RUNS] [-t THREADS] [WORKLOAD.txt ...]
#
# Without workloads it takes ../shared/bench/*.txt.  THREADS sets OMP_NUM_THREADS.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=5
threads=""
while getopts n:t: opt; do
  case $opt in
    n) runs=$OPTARG ;;
    t) threads=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
workloads=("$@")
[ ${#workloads[@]} -gt 0 ] || workloads=("$here"/../shared/bench/*.txt)

cmake --preset release -DOPTIC_BUILD_BENCH=ON >/dev/null
cmake --build --preset release -j >/dev/null
optic=$here/build/release/optic
phases=$here/build/release/optic_phases
[ -n "$threads" ] && export OMP_NUM_THREADS=$threads

median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf '%-18s %10s %10s %12s\n' workload "wall (s)" "cpu (s)" "peak (MiB)"
for w in "${workloads[@]}"; do
  cp "$w" "$scratch/"
  name=$(basename "$w")
  : >"$scratch/times"
  for _ in $(seq "$runs"); do
    (cd "$scratch" && /usr/bin/time -v "$optic" "$name" >/dev/null 2>"$scratch/time.txt") || true
    awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; w=s}
                /User time/ {u=$2} /System time/ {y=$2} /Maximum resident/ {m=$2}
                END {print w, u+y, m/1024}' "$scratch/time.txt" >>"$scratch/times"
  done
  printf '%-18s %10s %10s %12.1f\n' "${name%.txt}" \
    "$(cut -d' ' -f1 "$scratch/times" | median)" "$(cut -d' ' -f2 "$scratch/times" | median)" \
    "$(cut -d' ' -f3 "$scratch/times" | median)"
done
echo
for w in "${workloads[@]}"; do
  echo "== $(basename "$w") phases"
  (cd "$scratch" && "$phases" "$(basename "$w")" ${threads:+"$threads"})
done
