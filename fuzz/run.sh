#!/usr/bin/env bash
# Builds the fuzzing preset and runs the harness for a number of seconds (default 60),
# seeded with the example benches, the test benches and every earlier finding
# (fuzz/regressions).
#
#   fuzz/run.sh [SECONDS] [extra libFuzzer options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j >/dev/null
corpus=$here/build/fuzz/corpus
mkdir -p "$corpus"
cp "$here"/examples/*.txt "$here"/default_optic.txt "$here"/tests/data/golden/*.txt \
  "$here"/fuzz/regressions/* "$corpus"/
# Findings land in build/fuzz/findings, never in the source tree.
mkdir -p "$here/build/fuzz/findings"
cd "$here/build/fuzz/findings"
exec "$here/build/fuzz/fuzz_optic" "$corpus" -dict="$here/fuzz/optic.dict" \
  -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$@"
