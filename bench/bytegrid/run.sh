#!/bin/bash
# Runs the Bytegrid benchmark of a build folder under its Wine session.
# Usage: bench/bytegrid/run.sh <build-dir>
set -uo pipefail
BUILD_DIR=$(cd "$1" && pwd)
exe="$BUILD_DIR/bin/bytegrid_bench.exe"
if [ ! -f "$exe" ]; then
  echo "bytegrid: $exe is not built (configure the bench and bytegrid components)"
  exit 1
fi
"$BUILD_DIR/wine-run" "$exe"
