#!/usr/bin/env bash
# Builds the packages handed to users (installing missing Debian packages
# first) and prints their paths:
#   build/packages/Tempulo-<version>-setup.exe     per-user installer
#   build/packages/Tempulo-<version>-portable.zip  folder to unpack and run
# The version is the one in CMakeLists.txt. Only the program, the library and
# the packages are built, not the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target packages
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
for package in setup.exe portable.zip; do
  file=$root/build/packages/Tempulo-$version-$package
  [ -f "$file" ] || { echo "package: $file was not built" >&2; exit 1; }
  echo "$file"
done
