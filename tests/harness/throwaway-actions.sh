#!/usr/bin/env bash
# Proves the system actions of CSystem in a prefix of their own:
#   throwaway-actions.sh STATE_DIR SystemActionProbe.exe [Tempulo.exe]
# Shutdown, reboot, power-off and log-off end every process of the prefix
# they run in, so they never run in the shared test prefix. This script
# copies the session's template into a throwaway prefix with its own
# wineserver, marks it (the probe refuses to act in an unmarked prefix), and
# checks that each action ends a bystander process there while a bystander
# in the shared session lives on. Given Tempulo.exe, it then lets the
# program reach its target with the log-off action configured (its clock
# alone moved to just before New Year) and checks the screenshot, the saved
# settings and the end of the session. It removes the throwaway prefix at
# the end.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
state=$(cd "${1:?state dir}" && pwd)
probe=${2:?probe program}
tempulo=${3:-}
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$state"
[ -f "$state/display" ] && [ -f "$state/template/.ready" ] ||
  { echo "throwaway: no test session in $state" >&2; exit 1; }

main_prefix=$WINEPREFIX
side=$state/throwaway

# Starts a bystander in the current prefix and waits until it runs; its
# process id in $bystander.
bystander="" bystanders=0
start_bystander() {
  local ready
  ready=$side/running.$((++bystanders))
  "$WINE" "$probe" wait 60 "Z:${ready//\//\\}" </dev/null >/dev/null 2>&1 &
  bystander=$!
  for _ in $(seq 1 300); do
    [ -e "$ready" ] && return 0
    kill -0 $bystander 2>/dev/null || break
    sleep 0.1
  done
  fail "a bystander did not start"
  return 1
}

main_bystander=""
cleanup() {
  [ -n "$main_bystander" ] && kill "$main_bystander" 2>/dev/null || true
  remove_throwaway_prefix "$side"
}
trap cleanup EXIT

# A bystander in the shared session: it must outlive everything below.
WINEPREFIX=$main_prefix "$WINE" "$probe" wait 240 </dev/null >/dev/null 2>&1 &
main_bystander=$!

enter_throwaway_prefix "$side"
touch "$side/prefix/drive_c/throwaway-prefix.txt"

out=$side/out.txt
run_probe() { "$WINE" "$probe" "$@" </dev/null >"$out" 2>/dev/null; }

# Values outside 0-3 call nothing: a bystander of the throwaway prefix lives.
start_bystander || true
if run_probe refuse && grep -q "refuse 4=0 -1=0" "$out" && kill -0 $bystander 2>/dev/null; then
  pass "actions 4 and -1 refused, nothing ended"
else
  fail "actions outside 0-3: $(cat "$out")"
fi
kill $bystander 2>/dev/null || true

# Wine accepts a shutdown request without acting on it; the privilege must
# be enabled for either call to report success.
if run_probe force && grep -q "force=1 abort=1" "$out"; then
  pass "ForceShutdown and AbortShutdown accepted"
else
  fail "ForceShutdown/AbortShutdown: $(cat "$out")"
fi

# The version checks against the versions Wine can pretend to be.
for v in win7:0 win81:1 win10:1; do
  "$WINE" reg add 'HKCU\Software\Wine' /v Version /d "${v%%:*}" /f </dev/null >/dev/null 2>&1 ||
    echo "note: reg add of ${v%%:*} reported failure"
  if run_probe version && grep -q "nt=1 xp=1 win8=${v##*:}" "$out"; then
    pass "version checks as ${v%%:*}"
  else
    fail "version checks as ${v%%:*}: $(cat "$out")"
  fi
done

# Each action is accepted and ends the prefix's processes.
for action in 0 1 2 3; do
  "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
  start_bystander || continue
  timeout 60 "$WINE" "$probe" exec $action </dev/null >"$out" 2>/dev/null &
  caller=$!
  if ended_within $bystander 300 && ended_within $caller 300 &&
    grep -q "returned 1" "$out"; then
    pass "action $action accepted and ended the prefix's processes"
  else
    fail "action $action: $(cat "$out")"
    kill $bystander $caller 2>/dev/null || true
  fi
  wait $caller 2>/dev/null || true
done

# The program at its target: screenshot, settings, then the session ends.
if [ -n "$tempulo" ] && ! command -v faketime >/dev/null; then
  fail "faketime is missing (apt-get install faketime): the program's target is not proven"
elif [ -n "$tempulo" ]; then
  key='HKCU\Software\Wow6432Node\Orvandt\Tempulo'
  for v in Event:2 EventNo:2 TakePrntScrn:1 ExtensionNo:0; do
    "$WINE" reg add "$key\Action" /v "${v%%:*}" /t REG_DWORD /d "${v##*:}" /f \
      </dev/null >/dev/null 2>&1
  done
  "$WINE" reg add "$key\Action" /v PrntScrnPath /d 'C:\Shots' /f </dev/null >/dev/null 2>&1
  start_bystander || true
  year=$(date +%Y)
  DONT_FAKE_MONOTONIC=1 timeout 60 faketime "$year-12-31 23:59:57" "$WINE" "$tempulo" \
    </dev/null >/dev/null 2>&1 &
  program=$!
  shot=$(ls "$side/prefix/drive_c/Shots" 2>/dev/null || true)
  if ended_within $program 300 && ended_within $bystander 300; then
    shot=$(ls "$side/prefix/drive_c/Shots" 2>/dev/null || true)
    saved=$("$WINE" reg query "$key\position" /v left </dev/null 2>/dev/null | grep -c left || true)
    if [[ "$shot" == Tempulo_$((year + 1))0101_0000??.bmp ]] && [ "$saved" = 1 ]; then
      pass "Tempulo saved $shot and its settings, then logged off"
    else
      fail "Tempulo at its target: screenshot '$shot', position saved: $saved"
    fi
  else
    fail "Tempulo did not end the session at its target (screenshot '$shot')"
    kill $program $bystander 2>/dev/null || true
  fi
fi

if kill -0 "$main_bystander" 2>/dev/null; then
  pass "the shared session lived through all of it"
else
  fail "a process of the shared session ended"
fi
exit $((failures > 0))
