#!/bin/bash
# Text-file reader and writer benchmark: a 200 MB UTF-8 file and a 200 MB
# UTF-16 file are loaded through the editor's reader (TextFile + ReadConverter,
# 256000-byte pieces, into a memory sink) by qmtextbench.exe under Wine, and
# converted by iconv (native) in the same run; then the UTF-8 text is written
# as UTF-16 by the writer and by iconv. Prints the throughputs and the ratios
# (editor / iconv; above 1 means the editor is faster). The times of
# qmtextbench are measured inside the program, so Wine's start-up is not
# counted; iconv's are wall-clock times of the whole command. Best of 3 each.
# The input files are made once into a cache folder outside the clone.
# Usage: bench/textfile/run.sh <build-dir>   (run inside scripts/session.sh,
# which provides the build's Wine server; bench/run does so)
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$here/build}" && pwd)
. "$here/scripts/wine-env.sh"

exe="$BUILD_DIR/bin/qmtextbench.exe"
[ -f "$exe" ] || { echo "textfile bench: $exe was not built" >&2; exit 1; }
command -v iconv >/dev/null || { echo "textfile bench: iconv is missing" >&2; exit 1; }
cache="${QM_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillmate/bench-textfile}"
mkdir -p "$cache"
utf8="$cache/utf8-200MB.txt"
utf16="$cache/utf16le-200MB.txt"
win() { printf 'Z:%s' "$1" | tr / '\\'; }

# Mixed text: ASCII source-like lines with accented letters, CJK and
# characters outside the basic plane (about 8 % multi-byte characters).
if [ ! -s "$utf8" ] || [ ! -s "$utf16" ]; then
  echo "textfile bench: making the input files in $cache"
  python3 - "$utf8" "$utf16" <<'PY'
import sys
words = ["alpha", "beta", "gamma", "caf\u00e9", "na\u00efve", "\u4e0a\u6d77", "\u65e5\u672c",
         "\U0001F600", "index", "value", "buffer", "\u00c5ngstr\u00f6m", "result", "offset", "\U0001D11E"]
lines = []
for i in range(20000):
    ws = [words[(i * 7 + k * 3) % len(words)] for k in range(8)]
    lines.append("    %s_%d = %s(%s, %d); // %s %s %s\r\n" % (ws[0], i, ws[1], ws[2], i * 31 % 100000, ws[3], ws[4], ws[5]))
block = "".join(lines)
target = 200 * 1000 * 1000
for path, enc, mark in ((sys.argv[1], "utf-8", b""), (sys.argv[2], "utf-16-le", b"\xff\xfe")):
    data = block.encode(enc)
    with open(path, "wb") as f:
        f.write(mark)
        written = len(mark)
        while written + len(data) <= target:
            f.write(data)
            written += len(data)
PY
fi

# Seconds of the best of three runs of a command (wall clock).
best_wall() {
  local best= t0 t1 s
  for i in 1 2 3; do
    t0=$(date +%s%N); "$@"; t1=$(date +%s%N)
    s=$(( t1 - t0 ))
    if [ -z "$best" ] || [ "$s" -lt "$best" ]; then best=$s; fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}
# Seconds of the best of three runs of qmtextbench (its own measurement).
best_bench() {
  local best= out s
  for i in 1 2 3; do
    out=$(wine "$exe" "$@" 2>/dev/null | tr -d '\r')
    s=$(printf '%s\n' "$out" | awk '{ print $4 }')
    [ -n "$s" ] || { echo "textfile bench: qmtextbench $* failed" >&2; exit 1; }
    if [ -z "$best" ] || awk -v a="$s" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$s; fi
  done
  printf '%s' "$best"
}
mbps() { awk -v bytes="$1" -v s="$2" 'BEGIN { printf "%.0f", bytes / 1e6 / s }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b / a }'; }

size8=$(stat -c %s "$utf8")
size16=$(stat -c %s "$utf16")
out16="$cache/iconv-out.utf16"
trap 'rm -f "$out16"' EXIT
cat "$utf8" "$utf16" >/dev/null  # warm the page cache

q8=$(best_bench load "$(win "$utf8")" 0 0)
i8=$(best_wall sh -c "iconv -f UTF-8 -t UTF-8 '$utf8' >/dev/null")
q16=$(best_bench load "$(win "$utf16")" 1 2)
i16=$(best_wall sh -c "iconv -f UTF-16 -t UTF-8 '$utf16' >/dev/null")
qs=$(best_bench save "$(win "$utf8")" 1)
is=$(best_wall sh -c "iconv -f UTF-8 -t UTF-16LE '$utf8' >'$out16'")

printf '%-34s %10s %10s %8s\n' "textfile ($((size8 / 1000000)) MB inputs)" "editor" "iconv" "ratio"
printf '%-34s %7s MB/s %5s MB/s %8s\n' "load UTF-8 (pieces, no change)" "$(mbps "$size8" "$q8")" "$(mbps "$size8" "$i8")" "$(ratio "$q8" "$i8")"
printf '%-34s %7s MB/s %5s MB/s %8s\n' "load UTF-16 LE -> UTF-8" "$(mbps "$size16" "$q16")" "$(mbps "$size16" "$i16")" "$(ratio "$q16" "$i16")"
printf '%-34s %7s MB/s %5s MB/s %8s\n' "save UTF-8 -> UTF-16 LE (to disk)" "$(mbps "$size8" "$qs")" "$(mbps "$size8" "$is")" "$(ratio "$qs" "$is")"
printf 'seconds: editor %s / %s / %s, iconv %s / %s / %s\n' "$q8" "$q16" "$qs" "$i8" "$i16" "$is"
