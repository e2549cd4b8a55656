#!/bin/bash
# Text-command benchmark: Mark All and Replace All of the editing window on a
# generated 20 MB text with 200,000 matches, each against a bare
# search-in-target loop over the same text in the same run (the floor).
# Ratios are command / floor.
# Usage: bench/textcmds/run.sh <build-dir>   (inside scripts/session.sh)
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$here/build}" && pwd)
. "$here/scripts/wine-env.sh"
bench="$BUILD_DIR/bin/textcmds_bench.exe"
[ -f "$bench" ] || { echo "textcmds bench: $bench was not built"; exit 1; }
cd "$BUILD_DIR/bin" && wine "$bench"
