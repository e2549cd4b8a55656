#!/bin/bash
# Text-command benchmark: Trim Trailing Spaces, Tabs to Spaces, Mark All and
# Replace All through the real text view on generated 20 MB texts, each
# against a bare search-in-target loop of the same component over the same
# text in the same run (the floor); prints ratios (command / floor).
# Usage: bench/textcmds/run.sh <build-dir>   (QM_BENCH_MB, QM_BENCH_RUNS)
set -uo pipefail
BUILD_DIR=$(cd "$1" && pwd)
exe="$BUILD_DIR/bin/textcmds_bench.exe"
if [ ! -f "$exe" ]; then
  echo "textcmds: $exe is not built (configure the bench and app components)"
  exit 1
fi
"$BUILD_DIR/wine-run" "$exe" "${QM_BENCH_MB:-20}" "${QM_BENCH_RUNS:-3}"
