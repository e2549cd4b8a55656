#!/bin/bash
# Builds the third-party libraries for x86_64-w64-mingw32 from Debian's source
# packages and writes <out-dir>/deps.cmake, which defines the qm::* targets.
#
# Usage: third_party/build.sh <out-dir>
#
# Each dependency is one recipe in recipes/<name>.sh. Results are cached outside
# the clone in $QM_DEPS_CACHE (default ~/.cache/quillmate/deps) as
#   <name>-<debian version>-<hash of the recipe files>/
# A run whose entries are all cached touches neither apt nor the network; the
# newest entry built from the current recipe is used. Otherwise the private
# source indexes are refreshed, versions are resolved again, and every
# dependency whose Debian version or recipe changed is rebuilt.
#
# Environment:
#   JOBS             parallel compile jobs (default: nproc)
#   QM_DEPS_CACHE    cache folder
#   QM_DEPS_UPDATE=1 refresh the source indexes even when everything is cached
#   QM_DEPS_ONLY     space-separated recipe names to build (default: all)
#   QM_DEPS_KEEP_WORK=1 keep the scratch folder of a failed build
#   QM_DEPS_KEEP_ENTRIES  cache entries kept per dependency (default 3)
#   QM_DEBIAN_MIRROR mirror URL (default: the bookworm mirror of the apt configuration)
#   QM_DEPS_CCACHE=0 do not compile through ccache
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ $# -eq 1 ] || { echo "usage: $0 <out-dir>" >&2; exit 2; }
OUT_DIR=$(mkdir -p "$1" && cd "$1" && pwd)
JOBS=${JOBS:-$(nproc)}
QM_CACHE=${QM_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillmate/deps}
mkdir -p "$QM_CACHE"
QM_CACHE=$(cd "$QM_CACHE" && pwd)
export JOBS QM_CACHE

# shellcheck source=lib/common.sh
. "$here/lib/common.sh"

all_recipes=(scilexer aspell tidy tinyxml png googletest)
recipes=("${all_recipes[@]}")
if [ -n "${QM_DEPS_ONLY:-}" ]; then
  read -r -a recipes <<<"$QM_DEPS_ONLY"
fi
for r in "${recipes[@]}"; do
  [ -f "$here/recipes/$r.sh" ] || qm_die "no recipe $r"
done

start=$(date +%s)

# Hash of everything a recipe's result depends on in this tree.
recipe_hash() {
  local r=$1 files=("$here/recipes/$r.sh" "$here/lib/common.sh")
  [ -d "$here/recipes/$r" ] && files+=("$here/recipes/$r"/*)
  cat "${files[@]}" | sha256sum | cut -c1-12
}

# Lines "<package> <suite> [globs...]" of a recipe's SOURCES.
recipe_sources() {
  ( SOURCES=(); . "$here/recipes/$1.sh"; printf '%s\n' "${SOURCES[@]}" )
}

declare -A HASH ENTRY
for r in "${recipes[@]}"; do
  HASH[$r]=$(recipe_hash "$r")
done

# Newest complete entry built from the current recipe, if any.
find_entry() {
  local r=$1 d best= best_t=0 t
  for d in "$QM_CACHE/$r"-*-"${HASH[$r]}"; do
    [ -f "$d/.qm-entry" ] || continue
    t=$(stat -c %Y "$d/.qm-entry")
    if [ "$t" -gt "$best_t" ]; then best=$d; best_t=$t; fi
  done
  printf '%s' "$best"
}

write_deps_cmake() {
  local r tmp="$OUT_DIR/deps.cmake.tmp"
  {
    echo "# Written by third_party/build.sh: imported targets of the third-party libraries."
    echo "# Do not edit; run the script again instead."
    echo "set(QM_RUNTIME_FILES \"\")"
    for r in "${recipes[@]}"; do
      echo
      echo "# $r: $(basename "${ENTRY[$r]}")"
      ( PREFIX=${ENTRY[$r]}; . "$here/recipes/$r.sh"; recipe_cmake )
    done
  } > "$tmp"
  # Rewrite only on change: CMake re-runs its configure step when this file changes.
  if cmp -s "$tmp" "$OUT_DIR/deps.cmake"; then rm -f "$tmp"; else mv -f "$tmp" "$OUT_DIR/deps.cmake"; fi
}

# --- Warm path: everything cached -------------------------------------------
missing=()
for r in "${recipes[@]}"; do
  ENTRY[$r]=$(find_entry "$r")
  [ -n "${ENTRY[$r]}" ] || missing+=("$r")
done
if [ ${#missing[@]} -eq 0 ] && [ "${QM_DEPS_UPDATE:-0}" != 1 ]; then
  write_deps_cmake
  qm_say "all ${#recipes[@]} dependencies cached ($(( $(date +%s) - start )) s)"
  exit 0
fi

# --- Something to build -----------------------------------------------------
# One build at a time per cache; a second run waits and then finds the results.
mkdir -p "$QM_CACHE/.work" "$OUT_DIR/logs"
exec 9>"$QM_CACHE/.lock"
if ! flock -n 9; then
  qm_say "waiting for another build of the dependencies"
  flock 9
fi
# Scratch folders left by an interrupted run (nobody else holds the lock),
# with the Wine server a recipe may have left running in one.
for w in "$QM_CACHE/.work/"*; do
  if [ -d "$w/wineprefix" ]; then WINEPREFIX="$w/wineprefix" wineserver -k >/dev/null 2>&1 || true; fi
  rm -rf "$w"
done

qm_ensure_host_packages
qm_setup_compilers

# Which suites to refresh: those of the recipes to check again.
declare -A SUITES VERSION
recheck=()
for r in "${recipes[@]}"; do
  if [ "${QM_DEPS_UPDATE:-0}" = 1 ] || [ -z "$(find_entry "$r")" ]; then recheck+=("$r"); fi
done
remote=0
for r in "${recheck[@]}"; do
  while read -r pkg suite _; do
    [ "$suite" = installed ] || { SUITES[$suite]=1; remote=1; }
  done < <(recipe_sources "$r")
done
# When the network is needed anyway, every remote recipe is checked for a new version.
if [ $remote = 1 ]; then
  for r in "${recipes[@]}"; do
    while read -r pkg suite _; do
      if [ "$suite" != installed ]; then
        SUITES[$suite]=1
        case " ${recheck[*]} " in *" $r "*) ;; *) recheck+=("$r") ;; esac
      fi
    done < <(recipe_sources "$r")
  done
fi
for suite in "${!SUITES[@]}"; do
  qm_apt_update "$suite"
done

# Version key of each recipe to check: its sources' versions joined by "_".
for r in "${recheck[@]}"; do
  key=
  while read -r pkg suite _; do
    if [ "$suite" = installed ]; then
      v=$(dpkg-query -W -f='${Version}' "$pkg" 2>/dev/null) || qm_die "package $pkg is not installed"
    else
      v=$(qm_source_version "$suite" "$pkg")
    fi
    VERSION[$r:$pkg]=$v
    key=${key:+${key}_}${v//:/_}
  done < <(recipe_sources "$r")
  ENTRY[$r]="$QM_CACHE/$r-$key-${HASH[$r]}"
done

work_dirs=()
cleanup() {
  local w
  for w in "${work_dirs[@]}"; do
    [ -d "$w" ] || continue
    if [ -d "$w/wineprefix" ]; then WINEPREFIX="$w/wineprefix" wineserver -k >/dev/null 2>&1 || true; fi
    rm -rf "$w"
  done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

build_one() {
  local r=$1 entry=${ENTRY[$r]} log="$OUT_DIR/logs/$r.log" t0 work
  t0=$(date +%s)
  work=$(mktemp -d "$QM_CACHE/.work/$r.XXXXXX")
  work_dirs+=("$work")
  local fetch=()
  while read -r pkg suite globs; do
    [ "$suite" = installed ] && continue
    # shellcheck disable=SC2086
    set -f; qm_fetch_source "$suite" "$pkg" "${VERSION[$r:$pkg]}" $globs; set +f
    fetch+=("SRC_${pkg//[^A-Za-z0-9_]/_}=$QM_FETCHED")
  done < <(recipe_sources "$r")
  qm_say "building $r ($(basename "$entry"))"
  mkdir -p "$work/out"
  # (not under "if !": that would switch off set -e inside the recipe)
  set +e
  (
      set -eEuo pipefail
      trap 'echo "deps: failed with exit code $?: $BASH_COMMAND" >&2' ERR
      for kv in "${fetch[@]}"; do export "${kv?}"; done
      WORK=$work OUT=$work/out
      # Paths below the scratch folder hash alike in ccache from one build to the next.
      export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$WORK}
      for k in "${!VERSION[@]}"; do
        case $k in "$r:"*) p=${k#*:}; export "VER_${p//[^A-Za-z0-9_]/_}=${VERSION[$k]}" ;; esac
      done
      cd "$WORK"
      . "$here/recipes/$r.sh"
      recipe_build
  ) >"$log" 2>&1 </dev/null
  local rc=$?
  set -e
  if [ $rc -ne 0 ]; then
    echo "---- last lines of $log ----" >&2
    tail -n 60 "$log" >&2
    if [ "${QM_DEPS_KEEP_WORK:-0}" = 1 ]; then
      work_dirs=("${work_dirs[@]/$work}")
      qm_say "scratch folder kept: $work"
    fi
    qm_die "building $r failed (log: $log)"
  fi
  {
    echo "name=$r"
    echo "version_key=$(basename "$entry" | sed "s/^$r-//; s/-${HASH[$r]}\$//")"
    echo "recipe_hash=${HASH[$r]}"
    echo "built=$(date -u +%Y-%m-%dT%H:%M:%SZ)"
  } > "$work/out/.qm-entry"
  # Publish atomically: the entry appears complete or not at all.
  if [ -e "$entry" ]; then rm -rf "$entry"; fi   # incomplete, or it would not be rebuilt
  mv -T "$work/out" "$entry"
  if [ -d "$work/wineprefix" ]; then WINEPREFIX="$work/wineprefix" wineserver -k >/dev/null 2>&1 || true; fi
  rm -rf "$work"
  prune "$r"
  qm_say "built $r in $(( $(date +%s) - t0 )) s"
}

# Keeps the newest few entries of a recipe (older recipes or Debian versions,
# e.g. for other branches) and removes the rest.
prune() {
  local r=$1 keep=${QM_DEPS_KEEP_ENTRIES:-3} d
  ls -1dt "$QM_CACHE/$r"-*/.qm-entry 2>/dev/null | tail -n +$((keep + 1)) | while read -r d; do
    rm -rf "$(dirname "$d")"
  done
}

for r in "${recheck[@]}"; do
  if [ -f "${ENTRY[$r]}/.qm-entry" ]; then
    touch "${ENTRY[$r]}/.qm-entry"   # the entry now in use is the newest one
    continue
  fi
  build_one "$r"
done
# Recipes not rechecked keep their cached entries.
for r in "${recipes[@]}"; do
  [ -n "${ENTRY[$r]}" ] || ENTRY[$r]=$(find_entry "$r")
done

write_deps_cmake
qm_say "dependencies ready in $(( $(date +%s) - start )) s: $OUT_DIR/deps.cmake"
