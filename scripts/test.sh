#!/usr/bin/env bash
# The whole test suite: packages, build, then every test program under Wine
# in a private Xvfb session and prefix inside build/ (see tests/harness).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh
ctest --preset mingw
