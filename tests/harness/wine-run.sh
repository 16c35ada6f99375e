#!/usr/bin/env bash
# Runs one Windows program of the build inside the test session:
#   wine-run.sh STATE_DIR PROGRAM.exe [ARGS...]
# TEST_LOCALE (de_DE.UTF-8 or en_US.UTF-8) picks the user-interface language.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
state=$(cd "${1:?state dir}" && pwd)
shift
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$state"
if [ ! -f "$state/display" ]; then
  echo "wine-run: no test session in $state (run: session.sh start $state)" >&2
  exit 1
fi
# Screenshots and other files that tests leave for a person to look at.
export TEST_OUTPUT_DIR=$state/out
run_windows_program "$@"
