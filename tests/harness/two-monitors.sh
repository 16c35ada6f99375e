#!/usr/bin/env bash
# A second Wine session with two monitors, beside the shared one:
#   two-monitors.sh start STATE_DIR            Xephyr with two 800x600 heads
#                                              side by side, shown inside the
#                                              shared Xvfb; a prefix copied
#                                              from the session's template;
#                                              a wineserver of its own
#   two-monitors.sh run STATE_DIR PROGRAM.exe  runs one program there
#   two-monitors.sh stop STATE_DIR             ends the server and Xephyr
# The shared session (its prefix, server and screen) is not touched. Wine
# sees two monitors only without XRandR and with its server started after
# the X server.
set -euo pipefail

cmd=${1:?start|run|stop}
state=$(cd "${2:?state dir}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$state"

side=$state/two-monitors
export WINEPREFIX=$side/prefix
export HOME=$side/home
log() { echo "two-monitors: $*"; }

start_xephyr() {
  command -v Xephyr >/dev/null ||
    { log "Xephyr is missing (apt-get install xserver-xephyr)"; exit 1; }
  start_x_server "$side" xephyr Xephyr +xinerama -screen 800x600 -origin 800,0 \
    -screen 800x600 -nolisten tcp || { log "Xephyr did not start"; exit 1; }
}

case "$cmd" in
start)
  [ -f "$state/display" ] && [ -f "$state/template/.ready" ] ||
    { log "no shared session in $state"; exit 1; }
  "$0" stop "$state" >/dev/null 2>&1 || true
  mkdir -p "$side"
  start_xephyr # inside the shared Xvfb: DISPLAY is the session's here
  DISPLAY=$(cat "$side/display")
  export DISPLAY
  rm -rf "$WINEPREFIX" "$HOME"
  cp -a "$state/template" "$WINEPREFIX"
  mkdir -p "$HOME"
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f \
    </dev/null >>"$side/prefix.log" 2>&1
  # The setting counts from the next server start on.
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE" wineboot </dev/null >/dev/null 2>&1
  log "ready: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
  ;;
run)
  shift 2
  [ -f "$side/display" ] || { log "not started (run: $0 start $state)" >&2; exit 1; }
  DISPLAY=$(cat "$side/display")
  export DISPLAY
  run_windows_program "$@"
  ;;
stop)
  if [ -d "$WINEPREFIX" ]; then "$WINESERVER" -k >/dev/null 2>&1 || true; fi
  if [ -f "$side/xephyr.pid" ]; then
    kill "$(cat "$side/xephyr.pid")" 2>/dev/null || true
  fi
  rm -rf "$side"
  log "stopped"
  ;;
*)
  echo "usage: $0 start|run|stop STATE_DIR [PROGRAM.exe]" >&2
  exit 2
  ;;
esac
