#!/bin/bash
# Find-in-files benchmark: filescan.dll (under Wine) side by side with the
# floor under Wine (walk the same tree and read every file) and with GNU grep
# (native), on a generated tree of source-like text.
# Usage: bench/findinfiles/run.sh <build-dir>   (inside scripts/session.sh)
# The tree is made once and kept in $QM_BENCH_CACHE (default ~/.cache/quillmate-bench).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
BUILD_DIR=$(cd "${1:?build folder}" && pwd)
BENCH="$BUILD_DIR/bin/filescan_bench.exe"
[ -f "$BENCH" ] || { echo "findinfiles: $BENCH is missing (build the findinfiles component)" >&2; exit 1; }
. "$here/../../scripts/wine-env.sh"
RUNS=${QM_BENCH_RUNS:-5}
MEGABYTES=${QM_BENCH_FIF_MB:-220}

cache=${QM_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillmate-bench}/findinfiles
tree="$cache/tree-v1-${MEGABYTES}mb"
if [ ! -f "$tree/.complete" ]; then
  mkdir -p "$cache"
  g++ -O2 -std=c++17 -o "$cache/gen_tree" "$here/gen_tree.cpp"
  rm -rf "$tree"
  echo "findinfiles: generating the tree ($MEGABYTES MB) in $tree"
  "$cache/gen_tree" "$tree" "$MEGABYTES"
  touch "$tree/.complete"
fi
wtree="Z:$(printf '%s' "$tree" | tr / '\\')"
files=$(find "$tree" -type f ! -name .complete | wc -l)
mb=$(du -sm --exclude=.complete "$tree" | cut -f1)

bench() { wine "$BENCH" "$@" 2>/dev/null | tr -d '\r'; }
field() { awk -v k="$1" '{ for (i = 1; i <= NF; i++) { split($i, a, "="); if (a[1] == k && !done) { print a[2]; done = 1 } } }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# Best of RUNS wall times of a native command, output to a file.
native() {
  local best=999999 t s e
  for _ in $(seq "$RUNS"); do
    s=$(date +%s.%N); "$@" >"$cache/grep.out" || true; e=$(date +%s.%N)
    t=$(awk -v s="$s" -v e="$e" 'BEGIN { printf "%.3f", e - s }')
    best=$(awk -v a="$t" -v b="$best" 'BEGIN { print (a < b ? a : b) }')
  done
  echo "$best"
}

echo "findinfiles: tree of $files files, $mb MB; search and floor in turns, best of $RUNS runs each"

compare() {  # label, pattern, regex flag, goal, grep command...
  local label=$1 pattern=$2 regex=$3 goal=$4; shift 4
  local out t m g floor
  out=$(bench compare "$wtree" "*.*" "$pattern" "$regex" 1 "$RUNS")
  t=$(echo "$out" | field time); floor=$(echo "$out" | field floor); m=$(echo "$out" | field matches)
  g=$(native "$@")
  printf '%-28s filescan %6.3fs  floor %6.3fs  ratio %s (goal <= %s)  grep -rn %6.3fs  ratio %s  [%s matches]\n' \
    "$label" "$t" "$floor" "$(ratio "$t" "$floor")" "$goal" "$g" "$(ratio "$t" "$g")" "$m"
}

export LC_ALL=C
compare "literal value_changed" "value_changed" 0 1.3 grep -rnF -- value_changed "$tree"
compare "regex [a-z_]+_changed\\>" '[a-z_]+_changed\>' 1 2.0 grep -rn -- '[a-z_]\+_changed\>' "$tree"
compare "regex [qxz][0-9] (no literal)" '[qxz][0-9]' 1 2.0 grep -rn -- '[qxz][0-9]' "$tree"

# Regular expressions may not grow exponentially with their length.
blow=$(bench blowup "Z:\\tmp\\qm-fif-blowup-$$" | awk '{ split($1, k, "="); split($2, t, "="); printf "%s:%ss ", k[2], t[2] }')
echo "regex a*a*...a*c on 200 a's, closures:time  $blow"
