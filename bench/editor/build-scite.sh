#!/bin/bash
# Builds the peer of the editor benchmark: SciTE for Windows x64 from Debian's
# scite source package (the same source the editing component comes from), as
# the single static program "Sc1.exe" (SciTE with Scintilla and Lexilla linked
# in, libgcc and libstdc++ static). The source is fetched with the helpers of
# the dependency recipes; the result lands in a cache outside the clone:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/quillmate/peers/scite-<version>-<recipe hash>/Sc1.exe
# A cached entry is reused without touching apt or the network.
# Prints the entry's folder as the last line of its standard output.
# Usage: bench/editor/build-scite.sh
# Environment: JOBS, QM_DEPS_CACHE (source downloads and indexes, shared with
# third_party/build.sh), QM_PEERS_CACHE (where the builds go).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
JOBS=${JOBS:-$(nproc)}
QM_CACHE=${QM_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillmate/deps}
mkdir -p "$QM_CACHE"
QM_CACHE=$(cd "$QM_CACHE" && pwd)
export JOBS QM_CACHE
# shellcheck source=../../third_party/lib/common.sh
. "$root/third_party/lib/common.sh"

peers=${QM_PEERS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillmate/peers}
mkdir -p "$peers"
peers=$(cd "$peers" && pwd)
hash=$(cat "$here/build-scite.sh" "$root/third_party/lib/common.sh" | sha256sum | cut -c1-12)

find_entry() {
  local d
  for d in "$peers"/scite-*-"$hash"; do
    if [ -f "$d/.qm-entry" ] && [ -f "$d/Sc1.exe" ]; then printf '%s\n' "$d"; return 0; fi
  done
  return 1
}
if entry=$(find_entry); then echo "$entry"; exit 0; fi

# One build at a time; a second run waits and then finds the result.
exec 9>"$peers/.lock"
flock 9
if entry=$(find_entry); then echo "$entry"; exit 0; fi

qm_setup_compilers
# The private bookworm source index is normally there already (the dependency
# build made it); refresh it only when it cannot answer.
if ! version=$(qm_source_version "$QM_BASE_SUITE" scite 2>/dev/null); then
  qm_apt_update "$QM_BASE_SUITE"
  version=$(qm_source_version "$QM_BASE_SUITE" scite)
fi
# Debian's patches only touch the GTK front end and its installation; the
# Windows build needs the original tarball alone.
qm_fetch_source "$QM_BASE_SUITE" scite "$version" '*.orig.tar.gz'
entry="$peers/scite-${version//:/_}-$hash"

mkdir -p "$peers/.work"
work=$(mktemp -d "$peers/.work/scite.XXXXXX")
trap 'rm -rf "$work"' EXIT
log="$work/build.log"
qm_say "building SciTE $version for Windows (log: $log)"
t0=$(date +%s)
(
  set -eEuo pipefail
  cd "$work"
  export CCACHE_BASEDIR="$work"
  tar -xzf "$QM_FETCHED"/scite_*.orig.tar.gz
  tools=(CXX="$QM_CXX" CC="$QM_CC" AR="$QM_AR" RANLIB="$QM_RANLIB" WINDRES="$QM_WINDRES")
  make -C scintilla/win32 -j "$JOBS" "${tools[@]}" ../bin/libscintilla.a
  make -C lexilla/src -j "$JOBS" "${tools[@]}" ../bin/liblexilla.a
  make -C scite/win32 -j "$JOBS" "${tools[@]}" \
    LDFLAGS="-mwindows -static-libgcc -static-libstdc++" ../bin/Sc1.exe
  mkdir -p out
  cp scite/bin/Sc1.exe out/
  # Nothing but system DLLs may be imported.
  if x86_64-w64-mingw32-objdump -p out/Sc1.exe | grep -iE 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
    echo "Sc1.exe depends on MinGW runtime DLLs" >&2; exit 1
  fi
) >"$log" 2>&1 </dev/null || { tail -n 40 "$log" >&2; qm_die "building SciTE failed"; }
{
  echo "name=scite"
  echo "version=$version"
  echo "recipe_hash=$hash"
  echo "built=$(date -u +%Y-%m-%dT%H:%M:%SZ)"
} > "$work/out/.qm-entry"
rm -rf "$entry"
mv -T "$work/out" "$entry"
qm_say "built SciTE $version in $(( $(date +%s) - t0 )) s: $entry"
echo "$entry"
