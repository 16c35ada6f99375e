#!/usr/bin/env bash
# Builds the TGA decoder natively with libFuzzer and the address and
# undefined-behaviour sanitizers, then fuzzes it for a bounded time from the
# committed seeds:  run-tga-fuzz.sh WORK_DIR [SECONDS]
# New inputs go to WORK_DIR, never into the source tree. Any crash, leak or
# sanitizer report fails the run and leaves the input in WORK_DIR.
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
./tga_fuzz -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=1024 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" "$here/corpus/tga" 2>&1 | tail -n 15
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ]; then
  echo "fuzz: the decoder failed; inputs in $work/artifacts" >&2
  exit "$status"
fi
echo "fuzz: no findings in ${seconds}s"
