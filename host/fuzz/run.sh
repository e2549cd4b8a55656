#!/bin/bash
# Runs one fuzz target for a bounded time: a fixed seed, the checked-in seed
# files as the starting corpus, and a fresh working folder for what it finds.
# Usage: run.sh <target> <seed-folder> <work-folder> <seconds> [libFuzzer options...]
set -euo pipefail
target=$1 seeds=$2 work=$3 seconds=$4
shift 4
rm -rf "$work"
mkdir -p "$work/corpus"
# The run's own log stays in the work folder; a failure shows its end.
if "$target" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$@" "$work/corpus" "$seeds" >"$work/log" 2>&1; then
  tail -n 8 "$work/log"
else
  status=$?
  grep -v -E '^#[0-9]+[[:space:]]' "$work/log" | tail -n 80
  echo "fuzz: $(basename "$target") failed; its log and the failing input are in $work"
  exit $status
fi
