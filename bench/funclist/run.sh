#!/bin/bash
# Function-list benchmark: the scan of a generated 6.6 MB C file against, in
# the same run and window, the cpp lexer colouring the whole text and one
# regular-expression sweep that finds nothing; the scan of call-shaped lines
# after the last brace at 10,000 and 20,000 lines (near-linear); and, printed
# only, keystroke to updated pane in Qmate.exe.
# Usage: bench/funclist/run.sh <build-dir>   (inside scripts/session.sh)
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$here/build}" && pwd)
. "$here/scripts/wine-env.sh"
bench="$BUILD_DIR/bin/funclist_bench.exe"
pane="$BUILD_DIR/bin/funclist_pane_bench.exe"
[ -f "$bench" ] || { echo "funclist bench: $bench was not built"; exit 1; }
status=0
(cd "$BUILD_DIR/bin" && wine "$bench") || status=1
if [ -f "$pane" ] && [ -f "$BUILD_DIR/bin/Qmate.exe" ]; then
  (cd "$BUILD_DIR/bin" && wine "$pane" "$(printf 'Z:%s' "$BUILD_DIR/bin/Qmate.exe" | tr / '\\')") || status=1
else
  echo "funclist bench: Qmate.exe or the pane bench was not built; keystroke to pane not measured"
fi
exit $status
