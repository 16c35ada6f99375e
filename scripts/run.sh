#!/usr/bin/env bash
# Builds Tempulo and starts it under Wine. With a reachable X display it runs
# there, in the user's Wine prefix, until it is closed. Without one it runs for
# a few seconds in a private Xvfb session and saves a screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/build.sh
exe=$root/build/bin/Tempulo.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run: starting Tempulo on $DISPLAY (right-click menu or Alt+F4 to close)"
  WINEDEBUG=${WINEDEBUG:-fixme-all} exec /usr/lib/wine/wine64 "$exe"
fi

state=$root/build/run
shot=$root/build/tempulo-screenshot.png
trap 'bash tests/harness/session.sh stop "$state" >/dev/null 2>&1 || true' EXIT
bash tests/harness/session.sh start "$state"
bash tests/harness/wine-run.sh "$state" "$exe" &
pid=$!
sleep 5
DISPLAY=$(cat "$state/display") import -window root "$shot"
kill "$pid" 2>/dev/null || true
echo "run: no display here; Tempulo ran in Xvfb. Screenshot: $shot"
