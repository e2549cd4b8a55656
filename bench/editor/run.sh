#!/bin/bash
# Editor benchmark: Qmate.exe against SciTE (built for Windows from Debian's
# scite source, the same editing component) under the same Wine, in one run:
#   start-up to an idle main window;
#   opening a 50 MB C++ source given on the command line, until the editing
#   window holds the whole text (SCI_GETLENGTH polled from the outside) and
#   has drawn it (no update region left: a program that answers as soon as
#   the text is in and colours and lays it out in its next paint is timed
#   to the end of that paint);
#   opening a file of one 50 MB line (no line end at all) the same way;
# each with the peak working set and peak pagefile usage of the process once
# it has settled (the work that opening sets off counts: for the 50 MB
# source the peaks are read once Qmate's function list has listed its
# routines), and for the opens also the peaks at the moment the whole text
# was shown.
#
# The runs of the two programs alternate (Qmate first in one round, SciTE
# first in the next), so a machine that gets busier or quieter during the
# run weighs on both alike; one round before the counted ones warms the
# file cache and the Wine server and is not counted. Each figure is the
# median of QM_BENCH_RUNS counted rounds (default 7). Ratios are
# Qmate / SciTE (above 1 means Qmate is slower or bigger).
#
# Both programs draw with GDI. SciTE probes Direct2D at start; under Wine
# that brings up Wine's Direct3D on the software OpenGL renderer, which
# costs about 0.4 s and 250 MB that no Windows machine pays and that swings
# with the machine's load. The peer therefore runs with Wine's d2d1 switched
# off (SciTE then draws with GDI, as it does with its default technology),
# except for the start-up line: its ratio is taken against SciTE as shipped,
# and the figure against SciTE with Direct2D off is printed below it.
#
# The source file is made once in a cache folder outside the clone; SciTE is
# built once by build-scite.sh.
# QM_BENCH_BEFORE=<folder with another Qmate.exe> runs that build too, in the
# same alternating rounds, and prints its figures beside this build's
# (before and after a change, measured under the same load).
# Usage: bench/editor/run.sh <build-dir>   (run inside scripts/session.sh,
# which provides the build's Wine server; bench/run does so)
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(cd "${1:-$here/build}" && pwd)
. "$here/scripts/wine-env.sh"

bench="$BUILD_DIR/bin/editor_bench.exe"
qmate="$BUILD_DIR/bin/Qmate.exe"
[ -f "$bench" ] || { echo "editor bench: $bench was not built (configure the bench and app components)"; exit 1; }
runs=${QM_BENCH_RUNS:-7}
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

# Wine without its Direct2D: the peer's d2d1.dll fails to load and it draws
# with GDI (see above).
gdi_overrides="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}d2d1="

declare -A V  # label:key -> the counted values, one per round
one() {  # round label exe class file length [options of editor_bench]; one run of each measurement
  local round=$1 out file; shift
  file=$4; [ "$file" = - ] || file=$(win "$file")
  while read -r out; do
    out=${out%$'\r'}
    [ "$round" -gt 0 ] || continue
    echo "  round $round: $out"
    set -- $out
    case "$2 $3" in
      "startup unavailable" | "open unavailable") V[$1:failed]=1 ;;
      startup\ *) V[$1:startup]+=" $3"; V[$1:sws]+=" $4"; V[$1:spf]+=" $5" ;;
      open\ *) V[$1:open]+=" $3"; V[$1:ws]+=" $4"; V[$1:pf]+=" $5"; V[$1:sws_shown]+=" ${6:-}"; V[$1:spf_shown]+=" ${7:-}" ;;
    esac
  done < <(wine "$bench" "${@:6}" "$1" "$(win "$2")" "$3" "$file" "$5" 1 "$timeout" 2>/dev/null)
}
median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END { if (NR) printf "%.3f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

before="${QM_BENCH_BEFORE:+$QM_BENCH_BEFORE/Qmate.exe}"
qm_build() {  # round label exe
  [ -f "$3" ] || return 0
  one "$1" "$2" "$3" FernbrightMainFrame "$src" "$length" --local-appdata "$(win "$scratch/local")" --wait-function-list
  one "$1" "$2-line" "$3" FernbrightMainFrame "$line" "$linelength" --local-appdata "$(win "$scratch/local")" --open-only
}
qm_one() {  # round; with a build to compare, the two take turns going first
  if [ -n "$before" ] && (($1 % 2)); then qm_build "$1" before "$before"; fi
  qm_build "$1" qmate "$qmate"
  if [ -n "$before" ] && ! (($1 % 2)); then qm_build "$1" before "$before"; fi
}
sc_one() {  # round
  [ -n "$scite_dir" ] && [ -f "$scite" ] || return 0
  WINEDLLOVERRIDES="$gdi_overrides" one "$1" scite "$scite" SciTEWindow "$src" "$length"
  WINEDLLOVERRIDES="$gdi_overrides" one "$1" scite-line "$scite" SciTEWindow "$line" "$linelength" --open-only
  one "$1" scite-d2d "$scite" SciTEWindow - 0
}

echo "editor bench: $(awk -v b="$length" 'BEGIN { printf "%.0f", b / 1e6 }') MB C++ file, median of $runs alternating rounds after one warm-up round (raw lines below)"
[ -f "$qmate" ] || echo "  qmate: $qmate was not built"
[ -n "$scite_dir" ] && [ -f "$scite" ] || echo "  scite: the SciTE build failed (see bench/editor/build-scite.sh)"
for ((round = 0; round <= runs; round++)); do
  if ((round % 2)); then sc_one $round; qm_one $round; else qm_one $round; sc_one $round; fi
done
declare -A R
for k in "${!V[@]}"; do
  case "$k" in *:failed) ;; *) R[$k]=$(printf '%s' "${V[$k]}" | median) ;; esac
done
for k in "${!V[@]}"; do
  case "$k" in *:failed) unset "R[${k%:failed}:startup]" "R[${k%:failed}:open]" ;; esac
done

ratio() { if [ -n "$1" ] && [ -n "$2" ]; then awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; else printf -- '-'; fi; }
val() { printf '%s' "${1:--}"; }
printf '%-34s %12s %12s %8s\n' "editor (Qmate vs SciTE $(basename "${scite_dir:-scite-?}" | cut -d- -f2))" "Qmate" "SciTE" "ratio"
row() {  # text unit key [qmate label] [scite label]
  local q=${4:-qmate} p=${5:-scite}
  printf '%-34s %9s %-2s %9s %-2s %8s\n' "$1" "$(val "${R[$q:$3]:-}")" "$2" "$(val "${R[$p:$3]:-}")" "$2" "$(ratio "${R[$q:$3]:-}" "${R[$p:$3]:-}")"
}
# The start-up goal is set against SciTE as shipped (its Direct2D probe
# included), as the goal was measured; the GDI-only figure follows it.
row "start-up to idle main window" s startup qmate scite-d2d
row "  against SciTE with Direct2D off" s startup
row "peak working set (start-up)" MB sws
row "peak pagefile usage (start-up)" MB spf
row "start + open 50 MB until shown" s open
row "peak working set (open)" MB ws
row "peak pagefile usage (open)" MB pf
row "  the same when shown: working set" MB sws_shown
row "  pagefile usage" MB spf_shown
row "start + open one 50 MB line" s open qmate-line scite-line
row "peak working set (one line)" MB ws qmate-line scite-line
row "peak pagefile usage (one line)" MB pf qmate-line scite-line
row "  the same when shown: working set" MB sws_shown qmate-line scite-line
row "  pagefile usage" MB spf_shown qmate-line scite-line
if [ -n "$before" ]; then
  echo "the Qmate.exe of $QM_BENCH_BEFORE in the same rounds (ratio: this build / that one):"
  row "  start-up to idle main window" s startup qmate before
  row "  start + open 50 MB until shown" s open qmate before
  row "  peak working set (open)" MB ws qmate before
  row "  start + open one 50 MB line" s open qmate-line before-line
  row "  peak working set (one line)" MB ws qmate-line before-line
fi
echo "for reference, SciTE as shipped (its Direct2D probe on Wine's software OpenGL):"
row "  peak working set (start-up)" MB sws qmate scite-d2d
[ -n "${R[qmate:open]:-}" ] || echo "note: Qmate.exe could not open the file yet (see its raw lines above); SciTE's figures stand alone"
[ -n "${R[scite:open]:-}" ]
