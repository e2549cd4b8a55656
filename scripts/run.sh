#!/bin/bash
# Starts the editor under Wine. On a display of the user's own it runs until
# closed; with no display it runs on a private Xvfb, waits for its main
# window, saves a screenshot under the build folder and stops.
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
  # The main frame is the visible window of Qmate.exe whose caption names
  # the editor (Wine gives each X window the program name as its class).
  main_frame() {
    local w
    for w in $(xdotool search --onlyvisible --classname "^[Qq]mate\.exe$" 2>/dev/null); do
      case "$(xdotool getwindowname "$w" 2>/dev/null)" in *Quillmate*) echo "$w"; return 0 ;; esac
    done
    return 1
  }
  wine "$1" & pid=$!
  start=$SECONDS t0=$(date +%s.%N)
  until win=$(main_frame); do
    if ! kill -0 $pid 2>/dev/null || [ $((SECONDS - start)) -ge "${QM_RUN_SECONDS:-60}" ]; then
      echo "run: the editor showed no main window within ${QM_RUN_SECONDS:-60} s" >&2
      kill $pid 2>/dev/null; wait $pid 2>/dev/null; exit 1
    fi
    sleep 0.2
  done
  shown=$(echo "$(date +%s.%N) - $t0" | bc)
  # Shown is not yet painted: a moment for the first paint of every part.
  sleep 1.5
  import -window root "$2" &&
    printf "run: no display here, so the editor ran on Xvfb; its main window showed after %.1f s; screenshot: %s\n" "$shown" "$2"
  kill $pid 2>/dev/null; wait $pid 2>/dev/null; true' _ "$exe" "$shot"
