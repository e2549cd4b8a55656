#!/bin/bash
# Runs the tests of a build folder inside a test session: first every test
# that needs no desktop focus, in parallel; then the GUI tests, which take
# turns (they hold the focus lock) with nothing else running beside them to
# steal the foreground.
# Usage: scripts/run-tests.sh <build-dir> <jobs> [ctest -R regex]
set -uo pipefail
build=$1 jobs=$2 filter=${3:-}
args=(--test-dir "$build" --output-on-failure -j "$jobs")
[ -n "$filter" ] && args+=(-R "$filter")
status=0
ctest "${args[@]}" -LE gui || status=1
ctest "${args[@]}" -L gui || status=1
exit $status
