#!/bin/bash
# Compare benchmark: two generated files of 200,000 lines with a few hundred
# scattered edits and moved blocks, compared by pairview.dll under Wine and by
# GNU diff on the same pair in the same run. Prints both times and the ratio.
# Usage: bench/compare/run.sh <build-dir>   (run inside scripts/session.sh,
# which provides the display and the build's Wine server; bench/run does so)
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$here/build}" && pwd)
. "$here/scripts/wine-env.sh"

exe="$BUILD_DIR/bin/pairview_bench.exe"
[ -f "$exe" ] || { echo "compare bench: $exe was not built" >&2; exit 1; }
work="$BUILD_DIR/bench-compare"
rm -rf "$work"; mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
win() { printf 'Z:%s' "$1" | tr / '\\'; }

wine "$exe" generate "$(win "$work")" 200000 2>/dev/null | tr -d '\r'

# GNU diff: best of 3 wall-clock runs.
best_diff=
for i in 1 2 3; do
  t0=$(date +%s%N)
  diff "$work/first.txt" "$work/second.txt" >"$work/diff.out" || [ $? -eq 1 ]
  t1=$(date +%s%N)
  ms=$(( (t1 - t0) / 1000 ))
  if [ -z "$best_diff" ] || [ "$ms" -lt "$best_diff" ]; then best_diff=$ms; fi
done
diff_ms=$(awk -v us="$best_diff" 'BEGIN { printf "%.1f", us / 1000 }')

# pairview: best of 3 compare messages inside one process (Wine's start-up is
# not part of the figure; it is shown separately as the whole run's wall time).
t0=$(date +%s%N)
out=$(wine "$exe" compare "$(win "$work/first.txt")" "$(win "$work/second.txt")" "$(win "$work/result.txt")" 3 2>/dev/null | tr -d '\r')
t1=$(date +%s%N)
echo "$out" | sed 's/^/  pairview /'
pv_ms=$(echo "$out" | sed -n 's/^best_ms=//p')
[ -n "$pv_ms" ] || { echo "compare bench: pairview_bench gave no time" >&2; exit 1; }
wall_ms=$(( (t1 - t0) / 1000000 ))

echo "GNU diff (best of 3):              ${diff_ms} ms   ($(grep -c '^[<>]' "$work/diff.out") changed lines)"
echo "pairview.dll compare (best of 3):  ${pv_ms} ms   ($(grep -cE '^ (<!|!>|<-|->) ' "$work/result.txt" || true) marked rows)"
echo "pairview process under Wine, 3 compares, wall: ${wall_ms} ms"
awk -v a="$pv_ms" -v b="$diff_ms" 'BEGIN { printf "ratio pairview/diff: %.2f\n", (b > 0 ? a / b : 0) }'
