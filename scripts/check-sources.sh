#!/usr/bin/env bash
# Source checks that need no build: every C and C++ file is formatted as
# .clang-format says, and product code uses only bounded string functions.
set -euo pipefail
cd "$(dirname "$0")/.."
failures=0

command -v clang-format >/dev/null || { echo "FAIL: clang-format is missing"; exit 1; }
mapfile -t sources < <(git ls-files '*.c' '*.cpp' '*.h')
if ! clang-format --dry-run -Werror "${sources[@]}"; then
  echo "FAIL: files above are not formatted (clang-format -i FILE)"
  failures=$((failures + 1))
fi

# Copies and formats without a bound can overflow their target.
banned='\b(lstrcpy[AW]?|lstrcat[AW]?|wcscpy|wcscat|strcpy|strcat|wsprintf[AW]?|sprintf|swprintf)\s*\('
if git grep -nE "$banned" -- app lib; then
  echo "FAIL: unbounded string functions in product code (use StringCch* or the _s forms)"
  failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "ok: formatting and bounded string functions"
exit "$failures"
