#!/usr/bin/env bash
# Builds everything and runs the benchmark programs under Wine in a private
# session (its own Xvfb and prefix in build/bench), printing their figures:
#   bash scripts/bench.sh [width height maxIterations runs]
# The arguments go to mandel_bench (default 480 360 1000 3). Then
# startup_bench launches Tempulo and the floor popup in turn,
# BENCH_LAUNCHES times each (default 40), and counting_bench watches
# Tempulo count down for BENCH_COUNTING_SECONDS (default 600), e.g.
#   BENCH_COUNTING_SECONDS=60 bash scripts/bench.sh
# Last, soak_bench drives 100,000 ticks, 500 re-placements and 100 settings
# dialogs into Tempulo and prints its objects and memory before and after.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
launches=${BENCH_LAUNCHES:-40}
counting_seconds=${BENCH_COUNTING_SECONDS:-600}
bash scripts/build.sh
state=$root/build/bench
trap 'bash tests/harness/session.sh stop "$state" >/dev/null 2>&1 || true' EXIT
bash tests/harness/session.sh start "$state"

run() { bash tests/harness/wine-run.sh "$state" "$root/build/bin/$1" "${@:2}"; }

echo "== fractal renderer"
run mandel_bench.exe "$@"
echo
echo "== Tempulo start-up against the floor"
run startup_bench.exe "$launches"
echo
echo "== Tempulo counting down"
run counting_bench.exe "$counting_seconds"
echo
echo "== Tempulo on a long run"
run soak_bench.exe
