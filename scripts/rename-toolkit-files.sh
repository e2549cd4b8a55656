#!/usr/bin/env bash
# Gives the toolkit's headers and sources names that say which library they
# belong to, and rewrites every mention of the old names in the tracked
# files (includes, comments, CMake lists, READMEs).
#
# Safe to run again: a file already moved is left alone, and the rewrite only
# touches the old names. Run it after merging a branch that still uses them.
#   bash scripts/rename-toolkit-files.sh        (from anywhere in the clone)
set -euo pipefail
cd "$(git rev-parse --show-toplevel)"

# old path|new path|old mention|new mention (mentions are sed patterns).
# A mention names a header as included (qx/name.h) or a source as listed in
# its folder's CMake list (src/name.cpp, relative to the library folder).
MOVES=(
  "toolkit/commandbars/include/qx/controls.h|toolkit/commandbars/include/qx/barcontrols.h|qx/controls\.h|qx/barcontrols.h"
  "toolkit/commandbars/include/qx/shadow.h|toolkit/commandbars/include/qx/barshadow.h|qx/shadow\.h|qx/barshadow.h"
  "toolkit/commandbars/include/qx/shadows.h|toolkit/commandbars/include/qx/shadowstrip.h|qx/shadows\.h|qx/shadowstrip.h"
  "toolkit/dockingpanes/include/qx/layout.h|toolkit/dockingpanes/include/qx/panelayout.h|qx/layout\.h|qx/panelayout.h"
  "toolkit/commandbars/src/controls.cpp|toolkit/commandbars/src/barcontrols.cpp||"
  "toolkit/commandbars/src/shadow.cpp|toolkit/commandbars/src/barshadow.cpp||"
  "toolkit/commandbars/src/shadows.cpp|toolkit/commandbars/src/shadowstrip.cpp||"
  "toolkit/commandbars/src/layout.cpp|toolkit/commandbars/src/barlayout.cpp||"
  "toolkit/dockingpanes/src/layout.cpp|toolkit/dockingpanes/src/panelayout.cpp|src/layout\.cpp|src/panelayout.cpp"
  "toolkit/foundation/paint/src/layout.cpp|toolkit/foundation/paint/src/paintlayout.cpp|src/layout\.cpp|src/paintlayout.cpp"
)

for move in "${MOVES[@]}"; do
  IFS='|' read -r old new oldref newref <<<"$move"
  if [ -e "$old" ] && [ ! -e "$new" ]; then
    git mv "$old" "$new"
  elif [ -e "$old" ] && [ -e "$new" ]; then
    echo "both $old and $new exist: merge them by hand" >&2
    exit 1
  fi
  [ -n "$oldref" ] || continue
  if [[ "$oldref" == src/* ]]; then
    # A source is named only in its own folder's CMake list.
    list="$(dirname "$(dirname "$new")")/CMakeLists.txt"
    sed -i "s#\\b${oldref}\\b#${newref}#g" "$list"
  else
    git ls-files -z -- '*.h' '*.hpp' '*.cpp' '*.c' '*.rc' '*.md' '*.txt' '*.cmake' |
      { xargs -0 grep -lZ -- "$oldref" 2>/dev/null || true; } |
      xargs -0 -r sed -i "s#${oldref}#${newref}#g"
  fi
done
