#!/usr/bin/env bash
# The whole test suite: packages, build, then every test program under Wine
# in a private Xvfb session and prefix inside build/ (see tests/harness).
# The installer and the portable archive are built too: a test installs them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh
cmake --build --preset mingw --target packages
ctest --preset mingw
