#!/usr/bin/env bash
# Starts and stops the Wine session that the test programs run in:
#   session.sh start STATE_DIR   Xvfb, a fresh prefix copied from a template,
#                                a persistent wineserver, warmed up
#   session.sh stop STATE_DIR    ends the server and Xvfb
# Everything lives in STATE_DIR (in the build tree); the user's own prefix and
# home are never touched. Nothing started here keeps the caller's stdout or
# stderr open, so ctest does not wait on a pipe that never closes.
set -euo pipefail

cmd=${1:?start|stop}
state=$(mkdir -p "${2:?state dir}" && cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$state"

log() { echo "session: $*"; }

start_xvfb() {
  start_x_server "$state" xvfb Xvfb -screen 0 1280x800x24 -nolisten tcp ||
    { log "Xvfb did not start"; exit 1; }
  DISPLAY=$(cat "$state/display")
  export DISPLAY
}

make_locales() {
  local l
  mkdir -p "$LOCPATH"
  for l in de_DE en_US; do
    [ -d "$LOCPATH/$l.UTF-8" ] || localedef -i "$l" -f UTF-8 "$LOCPATH/$l.UTF-8" >/dev/null 2>&1 ||
      [ -d "$LOCPATH/$l.UTF-8" ] || { log "cannot compile locale $l"; exit 1; }
  done
}

template_version=2

reg_add() { "$WINE" reg add "$@" /f </dev/null >>"$state/prefix.log" 2>&1; }

make_template() {
  local template=$state/template
  # The marker holds the template's version: a template of an older layout
  # is made again.
  [ "$(cat "$template/.ready" 2>/dev/null)" = "$template_version" ] && return 0
  log "creating the template prefix (once per build tree)"
  rm -rf "$template"
  (
    export WINEPREFIX=$template
    "$WINE" wineboot -i </dev/null >"$state/prefix.log" 2>&1
    # Real fonts: Wine's own plus metric-compatible stand-ins for the
    # classic Windows faces.
    mkdir -p "$template/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/" 2>/dev/null || true
    reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /d 'Liberation Serif'
    reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Arial' /d 'Liberation Sans'
    reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono'
    # Windows 10 as the reported system; Wine draws window frames itself,
    # as Windows would, since there is no window manager.
    reg_add 'HKCU\Software\Wine' /v Version /d win10
    reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
    # Drives of known kinds for the file-system tests, beside C: and Z:
    # (fixed): D: a CD-ROM holding a disc, E: a removable drive without one
    # (empty), F: a letter whose folder is gone, G: a network drive. Their
    # folders are made afresh at each start.
    reg_add 'HKLM\Software\Wine\Drives' /v d: /d cdrom
    reg_add 'HKLM\Software\Wine\Drives' /v e: /d floppy
    reg_add 'HKLM\Software\Wine\Drives' /v g: /d network
    ln -sfn "$state/drives/cdrom" "$template/dosdevices/d:"
    ln -sfn "$state/drives/removable" "$template/dosdevices/e:"
    ln -sfn "$state/drives/gone" "$template/dosdevices/f:"
    ln -sfn "$state/drives/network" "$template/dosdevices/g:"
    "$WINESERVER" -w
  )
  echo "$template_version" >"$template/.ready"
}

case "$cmd" in
start)
  "$0" stop "$state" >/dev/null 2>&1 || true
  make_locales
  start_xvfb
  make_template
  rm -rf "$WINEPREFIX" "$HOME"
  cp -a "$state/template" "$WINEPREFIX"
  rm -rf "$state/drives"
  mkdir -p "$state/drives/cdrom/Disc" "$state/drives/removable" "$state/drives/network/Share"
  echo "on the disc" >"$state/drives/cdrom/Disc/readme.txt"
  # Output of an earlier run (process ids repeat) must not pass for this one's.
  rm -rf "$state/out"
  mkdir -p "$HOME" "$state/out"
  setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1
  # The first process of a session starts Wine's service processes; they
  # inherit its stdout and stderr, so it must not be a test's.
  "$WINE" wineboot </dev/null >/dev/null 2>&1
  log "ready: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
  ;;
stop)
  if [ -d "$WINEPREFIX" ]; then "$WINESERVER" -k >/dev/null 2>&1 || true; fi
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid" "$state/display"
  fi
  log "stopped"
  ;;
*)
  echo "usage: $0 start|stop STATE_DIR" >&2
  exit 2
  ;;
esac
