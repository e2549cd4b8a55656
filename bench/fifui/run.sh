#!/bin/bash
# Find-in-files UI benchmark: Find in the dialog to the last row of the pane's
# list on a generated tree with 100,000 matches, against filescan.dll alone
# with a counting sink on the same tree in the same run (ratio ui / engine,
# and the memory the list's rows take); and expanding a folder of 20,000
# files in the File Explorer against a bare FindFirstFileW listing of it
# (ratio tree / listing).
# Usage: bench/fifui/run.sh <build-dir>   (inside scripts/session.sh)
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$here/build}" && pwd)
. "$here/scripts/wine-env.sh"
bench="$BUILD_DIR/bin/fifui_bench.exe"
[ -f "$bench" ] || { echo "fifui bench: $bench was not built"; exit 1; }
RUNS=${QM_BENCH_RUNS:-3}
work=$(mktemp -d "$BUILD_DIR/fifui-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
win() { printf 'Z:%s' "$1" | tr / '\\'; }
cd "$BUILD_DIR/bin"
wine "$bench" make "$(win "$work/find")" find && wine "$bench" make "$(win "$work/tree")" tree || {
  echo "fifui bench: could not write the trees"; exit 1; }
echo "find in files (1000 files, 100,000 matches; best of $RUNS):"
wine "$bench" find "$(win "$work/find")" "$RUNS" 2>/dev/null | tr -d '\r'
echo "file explorer (a folder of 20,000 files; best of $RUNS):"
wine "$bench" tree "$(win "$work/tree")" "$RUNS" 2>/dev/null | tr -d '\r'
