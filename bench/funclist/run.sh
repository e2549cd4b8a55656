#!/bin/bash
# Function-list benchmark: the scan of a generated 6.6 MB C file against, in
# the same run and window, the cpp lexer colouring the whole text and one
# regular-expression sweep that finds nothing; and the scan of call-shaped
# lines after the last brace at 10,000 and 20,000 lines (near-linear).
# Usage: bench/funclist/run.sh <build-dir>   (inside scripts/session.sh)
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$here/build}" && pwd)
. "$here/scripts/wine-env.sh"
bench="$BUILD_DIR/bin/funclist_bench.exe"
[ -f "$bench" ] || { echo "funclist bench: $bench was not built"; exit 1; }
cd "$BUILD_DIR/bin" && wine "$bench"
