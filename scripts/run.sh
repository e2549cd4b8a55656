#!/bin/bash
# Starts the editor under Wine. On a display of the user's own it runs until
# closed; with no display it runs on a private Xvfb, saves a screenshot under
# the build folder and stops.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=$(cd "$1" && pwd)
exe="$BUILD_DIR/bin/Qmate.exe"
[ -f "$exe" ] || { echo "run: $exe was not built" >&2; exit 1; }
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  QM_DISPLAY="$DISPLAY" exec bash "$here/scripts/session.sh" "$BUILD_DIR" wine "$exe"
fi
shot="$BUILD_DIR/run-screenshot.png"
bash "$here/scripts/session.sh" "$BUILD_DIR" bash -c '
  wine "$1" & pid=$!
  sleep "${QM_RUN_SECONDS:-10}"
  import -window root "$2" && echo "run: no display here, so the editor ran on Xvfb; screenshot: $2"
  kill $pid 2>/dev/null; wait $pid 2>/dev/null; true' _ "$exe" "$shot"
