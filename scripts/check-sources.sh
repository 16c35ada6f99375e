#!/usr/bin/env bash
# Source checks that need no build: every C and C++ file is formatted as
# .clang-format says, product code uses only bounded string functions, and
# the folders of the program and of the library include each other without
# circles.
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
# The truncating forms without _s neither terminate nor report a cut.
banned='\b(lstrcpyn?[AW]?|lstrcat[AW]?|StrCpy[NW]*|StrCat[NW]*|wcsn?cpy|wcsn?cat|strn?cpy|strn?cat|wv?sprintf[AW]?|_?v?sn?w?printf)\s*\('
if git grep -nE "$banned" -- app lib; then
  echo "FAIL: unbounded string functions in product code (use StringCch* or the _s forms)"
  failures=$((failures + 1))
fi

# Folders of one tree must not include each other in a circle: folder X
# depends on folder Y when a file in X includes "Y/...". Folders in a circle
# can be neither understood, tested nor moved apart. app/ and lib/ are
# separate trees; lib/include/Y holds the public headers of lib/Y, one folder.
command -v awk >/dev/null || { echo "FAIL: awk is missing"; exit 1; }
folder_edges() { # ROOT -> lines "X Y FILE", one for each file that makes the edge
  local root=$1 file folder included
  { git grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' -- "$root" || true; } |
    sed -E 's|^([^:]+):[0-9]+:[^"]*"([^"/]+)/.*|\1 \2|' |
    while read -r file included; do
      folder=${file#"$root"/}
      folder=${folder#include/}
      [[ $folder == */* ]] || continue # a file at the top belongs to no folder
      folder=${folder%%/*}
      [[ $included != "$folder" && $included != . && $included != .. ]] || continue
      [ -d "$root/$included" ] || [ -d "$root/include/$included" ] || continue
      echo "$folder $included $file"
    done | sort -u
}
# Depth-first search; the first edge back into the current path closes a
# circle, which is printed edge by edge with one file that makes each edge.
find_circle='
  !(($1, $2) in via) { via[$1, $2] = $3; next_of[$1, ++count[$1]] = $2
                       if (!($1 in seen)) { seen[$1]; order[++nodes] = $1 } }
  function visit(v,   i, w) {
    state[v] = 1; path[++depth] = v
    for (i = 1; i <= count[v]; i++) {
      w = next_of[v, i]
      if (state[w] == 1) { report(w); return 1 }
      if (!state[w] && visit(w)) return 1
    }
    state[v] = 2; depth--
    return 0
  }
  function report(w,   k, to) {
    for (k = depth; path[k] != w; k--) {}
    for (; k <= depth; k++) {
      to = k < depth ? path[k + 1] : w
      printf "  %s -> %s  (%s)\n", path[k], to, via[path[k], to]
    }
  }
  END { for (i = 1; i <= nodes; i++) if (!state[order[i]] && visit(order[i])) exit 1 }'
for root in app lib; do
  if ! circle=$(folder_edges "$root" | awk "$find_circle"); then
    echo "FAIL: folders of $root/ include each other in a circle:"
    echo "$circle"
    failures=$((failures + 1))
  fi
done

[ "$failures" -eq 0 ] && echo "ok: formatting, bounded string functions, acyclic folders"
exit "$failures"
