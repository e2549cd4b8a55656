#!/bin/bash
# Runs a command inside a test session for one build folder: an Xvfb display
# (unless QM_DISPLAY names one to use) and the build's Wine server, started
# detached so no daemon holds the command's pipes. Everything is stopped after.
# One session at a time uses a Wine prefix: a second one (another make test,
# make run or bench of the same build) waits for the first to end. Sharing
# would not work: the session that ends first stops the Wine server under
# the other's programs (they end at once, with no output) and takes away the
# display its desktop process draws on.
# Usage: scripts/session.sh <build-dir> <command...>
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=$(mkdir -p "$1" && cd "$1" && pwd); shift
. "$here/scripts/wine-env.sh"

# The lock is held by this script alone (fd 9, closed for every program it
# starts, so no daemon keeps it) until it has stopped everything.
lock="${WINEPREFIX%/}.session-lock"
exec 9>"$lock"
if ! flock -n 9; then
  echo "session: another session uses $WINEPREFIX; waiting for it to end" >&2
  flock 9
fi

xvfb_pid=
cleanup() {
  # -k asks the server to end; -w waits until it has, so the next session
  # starts its own instead of finding this one on its way out.
  WINEPREFIX="$WINEPREFIX" wineserver -k 9>&- >/dev/null 2>&1 || true
  WINEPREFIX="$WINEPREFIX" wineserver -w 9>&- >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

if [ -n "${QM_DISPLAY:-}" ]; then
  export DISPLAY="$QM_DISPLAY"
else
  fifo=$(mktemp -u); mkfifo "$fifo"
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" 9>&- </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 num <"$fifo" || { echo "session: Xvfb did not start" >&2; rm -f "$fifo"; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$num"
fi

# The prefix is made once per build folder; later sessions only start the server.
first=0; [ -f "$WINEPREFIX/system.reg" ] || first=1
# wineserver forks into the background once it listens; waiting for that
# keeps the first Wine call from racing the server's start.
mkdir -p "$WINEPREFIX"
setsid -w wineserver -p 9>&- </dev/null >/dev/null 2>&1
if [ $first -eq 1 ]; then echo "session: preparing the Wine prefix $WINEPREFIX"; fi
setsid wine wineboot -i 9>&- </dev/null >/dev/null 2>&1
# Wine's RPC service, which OLE's start-up in the editor waits for: started
# now, detached, so no program of the session has to wait for it to come up.
setsid wine net start rpcss 9>&- </dev/null >/dev/null 2>&1 &
# Wine's own fonts (Tahoma, Marlett, MS Sans Serif ...) from the fonts-wine
# package: this Wine build does not find them in its data folder by itself.
fontdir="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ -d "$fontdir" ] && [ ! -f "$fontdir/tahoma.ttf" ]; then
  cp -n /usr/share/wine/fonts/*.ttf "$fontdir/" 2>/dev/null || true
fi
if [ $first -eq 1 ] || [ ! -f "$WINEPREFIX/.qm-configured" ]; then
  # No window manager runs on the test display: let Wine draw the frames itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f 9>&- </dev/null >/dev/null 2>&1 &&
    touch "$WINEPREFIX/.qm-configured"
fi
"$@" 9>&-
