#!/usr/bin/env bash
# Sourced with the session's state folder: the environment every Wine
# process of a test run shares.
state_dir=$1
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX=$state_dir/prefix
export HOME=$state_dir/home
export XDG_CONFIG_HOME=$state_dir/home/.config
export XDG_RUNTIME_DIR=$state_dir/run
export LOCPATH=$state_dir/locale
export WINEDEBUG=${WINEDEBUG:-fixme-all}
# No debugger for a crash: it would wait for a person until the test's time
# is up, where the crashed program should simply fail.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d;winealsa.drv,winepulse.drv=d"
# Applied only to the Wine process (see wine-run.sh): the shell itself may
# not know the locale.
export TEST_LOCALE=${TEST_LOCALE:-en_US.UTF-8}
unset LANG LANGUAGE LC_MESSAGES LC_ALL
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
if [ -f "$state_dir/display" ]; then
  DISPLAY=$(cat "$state_dir/display")
  export DISPLAY
fi

# start_x_server DIR NAME X-SERVER-ARGS...: starts an X server that picks a
# free display itself (-displayfd), so parallel sessions of several build
# trees never collide. Leaves DIR/NAME.pid, DIR/NAME.log and DIR/display
# (":N") behind; returns non-zero if the server did not come up.
start_x_server() {
  local dir=$1 name=$2 n=""
  shift 2
  rm -f "$dir/$name.fd"
  setsid "$@" -displayfd 3 3>"$dir/$name.fd" </dev/null >"$dir/$name.log" 2>&1 &
  echo $! >"$dir/$name.pid"
  for _ in $(seq 1 100); do
    n=$(tr -dc '0-9' <"$dir/$name.fd" 2>/dev/null || true)
    [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ] && break
    n=""
    sleep 0.1
  done
  [ -n "$n" ] || { cat "$dir/$name.log" >&2; return 1; }
  echo ":$n" >"$dir/display"
}

# run_windows_program PROGRAM.exe [ARGS...]: runs it in the user-interface
# language of TEST_LOCALE. A GoogleTest program (*_tests.exe) must also
# reach its end: one that something ended from outside (a system action
# of the program under test ends every process of the prefix) may still
# leave with code 0.
run_windows_program() {
  case $(basename "$1") in
  *_tests.exe) ;;
  *) exec env LC_ALL="$TEST_LOCALE" "$WINE" "$@" ;;
  esac
  local report status=0
  report=$(mktemp "${TMPDIR:-/tmp}/gtest-report.XXXXXX")
  env LC_ALL="$TEST_LOCALE" GTEST_OUTPUT="xml:Z:${report//\//\\}" "$WINE" "$@" || status=$?
  if [ "$status" = 0 ] && [ ! -s "$report" ]; then
    echo "wine-run: $(basename "$1") ended before GoogleTest finished its run" >&2
    status=1
  fi
  rm -f "$report"
  return "$status"
}

# For the side scripts, which count their checks and run in prefixes of
# their own: an "ok:" or "FAIL:" line per check.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# ended_within PID TENTHS: whether host process PID ends within TENTHS
# tenths of a second.
ended_within() {
  for _ in $(seq 1 "$2"); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# enter_throwaway_prefix DIR: from here on, a prefix of its own in
# DIR/prefix, copied from the session's template, with a wineserver and a
# home of its own. remove_throwaway_prefix DIR ends every process of that
# server, which started them all (no host pid is signalled: it might have
# been reused by then), and removes DIR.
enter_throwaway_prefix() {
  rm -rf "$1"
  mkdir -p "$1/home"
  cp -a "$state_dir/template" "$1/prefix"
  export WINEPREFIX=$1/prefix HOME=$1/home
  setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1
  # Wine's service processes must not hold the script's output open.
  "$WINE" wineboot </dev/null >/dev/null 2>&1
}
remove_throwaway_prefix() {
  if [ -d "$1/prefix" ]; then
    WINEPREFIX=$1/prefix "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  rm -rf "$1"
}
