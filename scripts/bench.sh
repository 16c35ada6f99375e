#!/usr/bin/env bash
# Builds everything and runs the benchmark programs under Wine in a private
# session (its own Xvfb and prefix in build/bench), printing their figures:
#   bash scripts/bench.sh [width height maxIterations runs]
# The arguments go to mandel_bench (default 480 360 1000 3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh
state=$root/build/bench
trap 'bash tests/harness/session.sh stop "$state" >/dev/null 2>&1 || true' EXIT
bash tests/harness/session.sh start "$state"
bash tests/harness/wine-run.sh "$state" "$root/build/bin/mandel_bench.exe" "$@"
