#!/usr/bin/env bash
# Builds the TGA decoder natively with libFuzzer and the address and
# undefined-behaviour sanitizers, then fuzzes it for a bounded time from the
# committed seeds:  run-tga-fuzz.sh WORK_DIR [SECONDS]
# New inputs go to WORK_DIR, never into the source tree. Any crash, leak,
# sanitizer report or broken promise fails the run and leaves the input in
# WORK_DIR/artifacts.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mkdir -p "${1:?work dir}" && cd "$1" && pwd)
seconds=${2:-60}

cxx=$(command -v clang++-14 || command -v clang++ || true)
[ -n "$cxx" ] || { echo "fuzz: clang++-14 not found (scripts/deps.sh installs it)" >&2; exit 1; }

"$cxx" -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root/lib" "$here/TgaDecodeFuzz.cpp" "$root/lib/imaging/TgaDecode.cpp" \
  -o "$work/tga_fuzz"

mkdir -p "$work/corpus" "$work/artifacts"
cd "$work"
# One worker, bounded input size and memory: the machine is shared.
status=0
./tga_fuzz -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=1024 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" "$here/corpus/tga" >"$work/fuzz.log" 2>&1 ||
  status=$?
if [ "$status" -ne 0 ]; then
  tail -n 80 "$work/fuzz.log"
  echo "fuzz: the decoder failed (exit $status); inputs in $work/artifacts" >&2
  exit "$status"
fi
grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$work/fuzz.log" || true
echo "fuzz: no findings in ${seconds}s"
