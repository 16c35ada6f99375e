#!/usr/bin/env bash
# Proves the packages of the packages target the way a user meets them:
#   package-install.sh STATE_DIR PackageProbe.exe SETUP.exe PORTABLE.zip VERSION
#                      Tempulo.exe PictavoLib64.dll
# (the last two: the build's own files, which the packages must carry). In a
# throwaway prefix copied from the session's template, with a wineserver and
# home of its own, the setup installs silently, is run again over a copy that
# runs, gives up on one that does not close, upgrades interactively, and the
# uninstaller removes it silently and, asked to, with its settings. The
# portable archive is unpacked on the host and its program run. The shared
# prefix and its settings are never touched; the throwaway prefix is removed
# at the end.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
state=$(cd "${1:?state dir}" && pwd)
probe=${2:?PackageProbe.exe}
setup=${3:?setup program}
zip=${4:?portable archive}
version=${5:?version}
built_exe=${6:?Tempulo.exe of the build}
built_dll=${7:?PictavoLib64.dll of the build}
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$state"
started=$SECONDS

give_up() { echo "FAIL: $*"; exit 1; }

if [ ! -f "$state/display" ] || [ ! -f "$state/template/.ready" ]; then
  give_up "no test session in $state"
fi
for tool in unzip cmp timeout; do
  command -v "$tool" >/dev/null || give_up "$tool is missing (run scripts/deps.sh)"
done
for package in "$setup" "$zip"; do
  [ -f "$package" ] ||
    give_up "$package is missing: build it with 'cmake --build --preset mingw --target packages'"
  for built in "$built_exe" "$built_dll"; do
    [ "$built" -nt "$package" ] &&
      give_up "$package is older than $built: build the packages target again"
  done
done

side=$state/package-install
trap 'remove_throwaway_prefix "$side"' EXIT
enter_throwaway_prefix "$side"

# Runs a program of the prefix with a time limit, its output in $side/out.
wine_run() { timeout 120 "$WINE" "$@" </dev/null >"$side/out" 2>&1; }
# Starts a program of the prefix beside the script; its host pid in $last.
wine_start() {
  "$WINE" "$@" </dev/null >/dev/null 2>&1 &
  last=$!
}
run_probe() { timeout 150 "$WINE" "$probe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# Data of a registry value ("" when missing).
reg_value() {
  "$WINE" reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/^    $2    REG_[A-Z_]*    //p"
}
reg_has_key() { "$WINE" reg query "$1" </dev/null >/dev/null 2>&1; }
win_env() { "$WINE" cmd /c echo "%$1%" </dev/null 2>/dev/null | tr -d '\r'; }
unix_path() { "$WINE" winepath -u "$1" </dev/null 2>/dev/null | tr -d '\r'; }
same_text() { [ "${1,,}" = "${2,,}" ]; }

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tempulo'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Wow6432Node\Orvandt\Tempulo'
# Runs the command line of the uninstall entry's value $1 as the system does.
# The uninstaller hands its work to a copy outside the folder it removes and
# returns; the copy removes the entry last, so the entry's end is the end.
uninstall() {
  local command program
  command=$(reg_value "$uninstall_key" "$1")
  program=${command#\"}
  program=${program%%\"*}
  # shellcheck disable=SC2086 # the entry's arguments, split as the system splits them
  timeout 120 "$WINE" "$program" ${command#\""$program"\"} </dev/null >"$side/out" 2>&1 || return
  for _ in $(seq 1 600); do
    reg_has_key "$uninstall_key" || return 0
    sleep 0.2
  done
  return 1
}
folder_win="$(win_env LOCALAPPDATA)\\Programs\\Tempulo"
exe_win="$folder_win\\Tempulo.exe"
uninstaller_win="$folder_win\\Uninstall.exe"
shortcut_win="$(win_env APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Tempulo.lnk"
folder=$(unix_path "$folder_win")
shortcut=$(unix_path "$shortcut_win")
if [ -z "$folder" ] || [ -z "$shortcut" ]; then
  give_up "no user folders in the throwaway prefix"
fi

# Settings of an earlier installation: one the program reads and writes
# back, one it does not know.
"$WINE" reg add "$settings_key\\Common" /v Zoom /t REG_DWORD /d 3 /f </dev/null >/dev/null 2>&1
"$WINE" reg add "$settings_key\\Common" /v KeptByUpgrade /d yes /f </dev/null >/dev/null 2>&1
settings_kept() {
  [ "$(reg_value "$settings_key\\Common" Zoom)" = 0x3 ] &&
    [ "$(reg_value "$settings_key\\Common" KeptByUpgrade)" = yes ]
}

# -- A silent installation: files, shortcut, uninstall entry.
if wine_run "$setup" /S; then
  pass "the setup installs silently (exit code 0)"
else
  give_up "silent setup: exit code $?: $(cat "$side/out")"
fi

if cmp -s "$built_exe" "$folder/Tempulo.exe" && cmp -s "$built_dll" "$folder/PictavoLib64.dll" &&
  [ -f "$folder/README.txt" ] && [ -f "$folder/Uninstall.exe" ]; then
  pass "the build's Tempulo.exe and PictavoLib64.dll, README.txt and Uninstall.exe in $folder_win"
else
  fail "installed files in $folder: $(ls "$folder" 2>&1 | tr '\n' ' ')"
fi

target=""
[ -f "$shortcut" ] && target=$(run_probe shortcut "$shortcut_win")
if same_text "$target" "$exe_win"; then
  pass "the Start-menu shortcut points to $target"
else
  fail "Start-menu shortcut $shortcut_win: target '$target'"
fi

program=""
if [ -n "$target" ]; then
  wine_start "$target"
  program=$last
  if run_probe window 60; then
    pass "the shortcut's target shows the Tempulo window"
  else
    fail "no Tempulo window from $target"
  fi
fi

expected=(
  "DisplayName=Tempulo" "DisplayVersion=$version" "Publisher=Orvandt"
  "DisplayIcon=$exe_win,0" "InstallLocation=$folder_win"
  "UninstallString=\"$uninstaller_win\"" "QuietUninstallString=\"$uninstaller_win\" /S"
  "NoModify=0x1" "NoRepair=0x1"
)
wrong=""
for pair in "${expected[@]}"; do
  value=$(reg_value "$uninstall_key" "${pair%%=*}")
  [ "$value" = "${pair#*=}" ] || wrong+=" ${pair%%=*}='$value'"
done
size=$(reg_value "$uninstall_key" EstimatedSize)
[[ "$size" =~ ^0x[0-9a-f]+$ ]] && [ $((size)) -gt 0 ] || wrong+=" EstimatedSize='$size'"
if [ -z "$wrong" ]; then
  pass "uninstall entry: DisplayVersion $version and every value as expected"
else
  fail "uninstall entry:$wrong"
fi

# -- The setup again, silently, while the installed program runs: it closes
# the program, which saves its settings as it goes, and keeps them.
if [ -n "$program" ]; then
  code=0
  wine_run "$setup" /S || code=$?
  if [ "$code" -eq 0 ] && ended_within "$program" 300; then
    pass "a silent upgrade closes the running Tempulo"
  elif [ "$code" -eq 0 ]; then
    fail "a silent upgrade left Tempulo running"
  else
    fail "silent upgrade over a running Tempulo: exit code $code $(cat "$side/out")"
  fi
  if settings_kept && [ -n "$(reg_value "$settings_key\\position" left)" ]; then
    pass "the upgrade keeps the settings; the program saved its own on closing"
  else
    fail "settings after the upgrade: Zoom '$(reg_value "$settings_key\\Common" Zoom)'," \
      "KeptByUpgrade '$(reg_value "$settings_key\\Common" KeptByUpgrade)'," \
      "position left '$(reg_value "$settings_key\\position" left)'"
  fi
fi

# -- A copy that does not close (it holds the instance mutex, without a
# window to close): the silent setup gives up with an error.
release_win='C:\release-mutex.txt'
"$WINE" "$probe" hold "$release_win" 200 </dev/null >"$side/hold" 2>/dev/null &
holder=$!
for _ in $(seq 1 300); do
  grep -q holding "$side/hold" 2>/dev/null && break
  sleep 0.1
done
code=0
wine_run "$setup" /S || code=$?
if [ "$code" -ne 0 ] && [ "$code" -ne 124 ] && kill -0 "$holder" 2>/dev/null; then
  pass "a silent setup gives up on a copy that does not close (exit code $code)"
else
  fail "setup over a copy that does not close: exit code $code"
fi
touch "$(unix_path "$release_win")"
ended_within "$holder" 300 || fail "the mutex holder did not end"

# -- An interactive upgrade over a running copy: the setup asks to close it,
# and its finish page starts the program again.
wine_start "$folder/Tempulo.exe"
program=$last
if run_probe window 60; then
  timeout 120 "$WINE" "$setup" </dev/null >/dev/null 2>&1 &
  setup_pid=$!
  code=0
  run_probe press 60 "Next >" "Install" "OK" "Finish" >/dev/null || code=$?
  wait "$setup_pid" || code=$?
  if [ "$code" -eq 0 ] && ended_within "$program" 300 && run_probe window 60; then
    pass "an interactive upgrade closes the running copy on OK and starts Tempulo at the end"
  else
    fail "interactive upgrade (exit code $code)"
  fi
  run_probe close 60 || fail "the Tempulo that the finish page started did not close"
else
  fail "the installed Tempulo.exe showed no window"
fi

# -- Removal as the system runs it, from the uninstall entry: silently it
# keeps the settings and removes all else, the autostart value included.
"$WINE" reg add "$run_key" /v Tempulo /d "\"$exe_win\"" /f </dev/null >/dev/null 2>&1
if uninstall QuietUninstallString; then
  pass "the quiet uninstall string runs to its end"
else
  fail "quiet uninstall: $(cat "$side/out")"
fi
left=""
[ -e "$folder" ] && left+=" folder: $(ls "$folder" | tr '\n' ' ')"
[ -e "$shortcut" ] && left+=" shortcut"
[ -n "$(reg_value "$run_key" Tempulo)" ] && left+=" autostart value"
reg_has_key "$uninstall_key" && left+=" uninstall entry"
if [ -z "$left" ]; then
  pass "nothing left of the installation: no folder, shortcut, autostart value or entry"
else
  fail "left behind by the uninstaller:$left"
fi
if settings_kept; then
  pass "the silent uninstall keeps the settings"
else
  fail "the silent uninstall removed settings"
fi

# -- Interactive removal, told not to keep the settings.
wine_run "$setup" /S || fail "reinstall: $(cat "$side/out")"
uninstall UninstallString &
uninstaller=$!
code=0
run_probe press 60 "Uninstall" "No" "Close" >/dev/null || code=$?
wait "$uninstaller" || code=$?
if [ "$code" -eq 0 ] && ! reg_has_key "$settings_key" && ! reg_has_key "$uninstall_key" &&
  [ ! -e "$folder" ]; then
  pass "an interactive uninstall, told No, removes the settings with the program"
else
  fail "interactive uninstall (exit code $code)"
fi

# -- The portable archive: one folder with both binaries and the text.
mkdir -p "$side/portable"
portable=$side/portable/Tempulo-$version
if unzip -q "$zip" -d "$side/portable" && [ "$(ls "$side/portable")" = "Tempulo-$version" ] &&
  [ "$(ls "$portable" | tr '\n' ' ')" = "PictavoLib64.dll README.txt Tempulo.exe " ] &&
  cmp -s "$built_exe" "$portable/Tempulo.exe" && cmp -s "$built_dll" "$portable/PictavoLib64.dll" &&
  grep -q $'\r$' "$portable/README.txt"; then
  pass "the archive unpacks to Tempulo-$version/ with the build's binaries and README.txt"
else
  fail "archive contents: $(cd "$side/portable" && find . | tr '\n' ' ')"
fi
if [ -f "$portable/Tempulo.exe" ]; then
  wine_start "$portable/Tempulo.exe"
  program=$last
  code=0
  if run_probe window 60 && run_probe close 60 && ended_within "$program" 300; then
    wait "$program" || code=$?
    if [ "$code" -eq 0 ]; then
      pass "the unpacked Tempulo shows its window and ends on WM_CLOSE"
    else
      fail "the unpacked Tempulo ended with exit code $code"
    fi
  else
    fail "the unpacked Tempulo did not show its window or did not close"
  fi
fi

echo "package-install: $failures failure(s) in $((SECONDS - started)) s"
exit $((failures > 0))
