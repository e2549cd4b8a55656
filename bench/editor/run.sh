#!/bin/bash
# Editor benchmark: Qmate.exe against SciTE (built for Windows from Debian's
# scite source, the same editing component) under the same Wine, in one run:
#   start-up to an idle main window;
#   opening a 50 MB C++ source given on the command line, until the editing
#   window holds the whole text (SCI_GETLENGTH polled from the outside);
#   opening a file of one 50 MB line (no line end at all) the same way;
# each with the peak working set and peak pagefile usage of the process.
# Median of QM_BENCH_RUNS runs (default 3). Ratios are Qmate / SciTE (above 1
# means Qmate is slower or bigger). The source file is made once in a cache
# folder outside the clone; SciTE is built once by build-scite.sh.
# Usage: bench/editor/run.sh <build-dir>   (run inside scripts/session.sh,
# which provides the build's Wine server; bench/run does so)
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$here/build}" && pwd)
. "$here/scripts/wine-env.sh"

bench="$BUILD_DIR/bin/editor_bench.exe"
qmate="$BUILD_DIR/bin/Qmate.exe"
[ -f "$bench" ] || { echo "editor bench: $bench was not built (configure the bench and app components)"; exit 1; }
runs=${QM_BENCH_RUNS:-3}
timeout=${QM_BENCH_TIMEOUT:-180}
cache="${QM_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillmate/bench-editor}"
mkdir -p "$cache"
src="$cache/large-50MB.cpp"
win() { printf 'Z:%s' "$1" | tr / '\\'; }

# Generated C++ (ASCII, CRLF): classes, functions, comments, strings, numbers.
if [ ! -s "$src" ]; then
  echo "editor bench: making $src"
  python3 - "$src" <<'PY'
import sys
target = 50 * 1000 * 1000
parts = []
size = 0
i = 0
while size < target:
    block = (
        "// Block %d: generated source for the editor benchmark.\r\n"
        "namespace gen%d {\r\n"
        "struct Item%d {\r\n"
        "    int id = %d;\r\n"
        "    double weight = %d.25;\r\n"
        "    const char* name = \"item %d\";\r\n"
        "};\r\n"
        "\r\n"
        "/* Sums the weights of the items below the limit. */\r\n"
        "static double Sum%d(const Item%d* items, unsigned count, int limit)\r\n"
        "{\r\n"
        "    double total = 0;\r\n"
        "    for (unsigned k = 0; k < count; ++k) {\r\n"
        "        if (items[k].id < limit && items[k].name != nullptr)\r\n"
        "            total += items[k].weight * 0x%X;\r\n"
        "    }\r\n"
        "    return total;\r\n"
        "}\r\n"
        "} // namespace gen%d\r\n"
        "\r\n") % (i, i, i, i, i % 1000, i, i, i, i & 0xFFFF, i)
    parts.append(block)
    size += len(block)
    i += 1
data = "".join(parts).encode("ascii")[:target]
cut = data.rfind(b"\r\n") + 2
with open(sys.argv[1], "wb") as f:
    f.write(data[:cut])
PY
fi
length=$(stat -c %s "$src")

# One line of 50 MB: C++ statements without a single line end.
line="$cache/oneline-50MB.cpp"
if [ ! -s "$line" ]; then
  echo "editor bench: making $line"
  python3 - "$line" <<'PY'
import sys
target = 50 * 1000 * 1000
unit = b"total += items[k].weight * 0x1F; if (total > limit) { total = 0; } "
data = (unit * (target // len(unit) + 1))[:target]
with open(sys.argv[1], "wb") as f:
    f.write(data)
PY
fi
linelength=$(stat -c %s "$line")

scite_dir=$(bash "$here/bench/editor/build-scite.sh" | tail -n 1) || scite_dir=
scite="$scite_dir/Sc1.exe"

# SciTE keeps its user properties and session in SciTE_HOME: a scratch folder.
# Qmate gets a per-user folder of its own, into which it copies the languages
# it ships (C++ among them) at its first start; both editors colour the file.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/scite" "$scratch/local"
# SciTE's language files are not part of the program: without them it shows
# a .cpp file as plain text. Its user properties name the C++ lexer (built
# into Sc1.exe) and folding, as Qmate's C++ language does.
printf '%s\r\n' 'file.patterns.cpp=*.cpp;*.h' 'lexer.$(file.patterns.cpp)=cpp' 'fold=1' >"$scratch/scite/SciTEUser.properties"
export SciTE_HOME="$(win "$scratch/scite")"

declare -A R
measure() {  # label exe class file length [options of editor_bench]
  local out
  while read -r out; do
    out=${out%$'\r'}
    echo "  $out"
    set -- $out
    case "$2 $3" in
      "startup unavailable") ;;
      "open unavailable") ;;
      startup\ *) R[$1:startup]=$3; R[$1:sws]=$4; R[$1:spf]=$5 ;;
      open\ *) R[$1:open]=$3; R[$1:ws]=$4; R[$1:pf]=$5 ;;
    esac
  done < <(wine "$bench" "${@:6}" "$1" "$(win "$2")" "$3" "$(win "$4")" "$5" "$runs" "$timeout" 2>/dev/null)
}

echo "editor bench: $(awk -v b="$length" 'BEGIN { printf "%.0f", b / 1e6 }') MB C++ file, median of $runs runs (raw lines below)"
if [ -f "$qmate" ]; then
  measure qmate "$qmate" FernbrightMainFrame "$src" "$length" --local-appdata "$(win "$scratch/local")"
  measure qmate-line "$qmate" FernbrightMainFrame "$line" "$linelength" --local-appdata "$(win "$scratch/local")" --open-only
else
  echo "  qmate: $qmate was not built"
fi
if [ -n "$scite_dir" ] && [ -f "$scite" ]; then
  measure scite "$scite" SciTEWindow "$src" "$length"
  measure scite-line "$scite" SciTEWindow "$line" "$linelength" --open-only
else
  echo "  scite: the SciTE build failed (see bench/editor/build-scite.sh)"
fi

ratio() { if [ -n "$1" ] && [ -n "$2" ]; then awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; else printf -- '-'; fi; }
val() { printf '%s' "${1:--}"; }
printf '%-34s %12s %12s %8s\n' "editor (Qmate vs SciTE $(basename "${scite_dir:-scite-?}" | cut -d- -f2))" "Qmate" "SciTE" "ratio"
row() {  # text unit key
  printf '%-34s %9s %-2s %9s %-2s %8s\n' "$1" "$(val "${R[qmate:$3]:-}")" "$2" "$(val "${R[scite:$3]:-}")" "$2" "$(ratio "${R[qmate:$3]:-}" "${R[scite:$3]:-}")"
}
linerow() {  # text unit key (the one-line file)
  printf '%-34s %9s %-2s %9s %-2s %8s\n' "$1" "$(val "${R[qmate-line:$3]:-}")" "$2" "$(val "${R[scite-line:$3]:-}")" "$2" "$(ratio "${R[qmate-line:$3]:-}" "${R[scite-line:$3]:-}")"
}
row "start-up to idle main window" s startup
row "peak working set (start-up)" MB sws
row "peak pagefile usage (start-up)" MB spf
row "start + open 50 MB until shown" s open
row "peak working set (open)" MB ws
row "peak pagefile usage (open)" MB pf
linerow "start + open one 50 MB line" s open
linerow "peak working set (one line)" MB ws
linerow "peak pagefile usage (one line)" MB pf
[ -n "${R[qmate:open]:-}" ] || echo "note: Qmate.exe could not open the file yet (see its raw line above); SciTE's figures stand alone"
[ -n "${R[scite:open]:-}" ]
