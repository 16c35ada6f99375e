#!/usr/bin/env bash
# Configures and builds Tempulo.exe, PictavoLib64.dll and the test programs
# into build/ (installing missing packages first).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
cmake --preset mingw -DTEMPULO_WERROR=ON >/dev/null
cmake --build --preset mingw
