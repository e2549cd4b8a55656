# Shared helpers for the dependency recipes, sourced by build.sh. A recipe's
# recipe_build runs in a subshell (set -eEuo pipefail, cwd = $WORK) with:
#   QM_TRIPLE, QM_CC, QM_CXX (compiler commands, through ccache when present),
#   QM_LAUNCHER, QM_AR, QM_RANLIB, QM_WINDRES, QM_STRIP, QM_NM, JOBS,
#   WORK  scratch folder of this build (removed afterwards),
#   OUT   the folder that becomes the cache entry,
#   SRC_<package>  folder with the package's downloaded source files,
#   VER_<package>  its Debian version
# (in <package>, characters other than letters, digits and "_" become "_").
# recipe_cmake runs with PREFIX = the cache entry and prints CMake code.

QM_TRIPLE=x86_64-w64-mingw32
QM_AR=$QM_TRIPLE-ar
QM_RANLIB=$QM_TRIPLE-ranlib
QM_WINDRES=$QM_TRIPLE-windres
QM_STRIP=$QM_TRIPLE-strip
QM_NM=$QM_TRIPLE-nm

# The release this machine runs; its mirror serves the source indexes too.
QM_BASE_SUITE=bookworm

# Host packages needed to build the dependencies.
QM_HOST_PACKAGES=(
  make gcc cmake ninja-build dpkg-dev xz-utils bzip2 ca-certificates
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev googletest wine wine64
)

qm_say() { printf 'deps: %s\n' "$*" >&2; }
qm_die() { printf 'deps: error: %s\n' "$*" >&2; exit 1; }

qm_setup_compilers() {
  local launcher=
  if [ "${QM_DEPS_CCACHE:-1}" != 0 ] && command -v ccache >/dev/null 2>&1; then
    launcher="ccache "
  fi
  QM_LAUNCHER=${launcher% }
  QM_CC="${launcher}$QM_TRIPLE-gcc-posix"
  QM_CXX="${launcher}$QM_TRIPLE-g++-posix"
}

# Installs the missing host packages (apt-get update at most once).
qm_ensure_host_packages() {
  local missing=() p sudo=
  for p in "${QM_HOST_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  qm_say "installing host packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null 2>&1; then
    $sudo apt-get update -q >/dev/null || qm_die "apt-get update failed"
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null \
      || qm_die "cannot install ${missing[*]}"
  fi
}

# --- Private source indexes --------------------------------------------------
# Each suite gets its own apt state under $QM_CACHE/.apt/<suite>; the system's
# sources, lists and package caches are only read (for the mirror's address).

qm_mirror() {
  if [ -n "${QM_DEBIAN_MIRROR:-}" ]; then printf '%s\n' "${QM_DEBIAN_MIRROR%/}"; return; fi
  local uri
  uri=$(apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE)' 2>/dev/null \
        | awk -v s="$QM_BASE_SUITE" '$2 == s { print $1; exit }')
  [ -n "$uri" ] || qm_die "no Debian $QM_BASE_SUITE mirror in the apt configuration; set QM_DEBIAN_MIRROR"
  printf '%s\n' "${uri%/}"
}

qm_apt_root() { printf '%s/.apt/%s\n' "$QM_CACHE" "$1"; }

# apt-get/apt-cache with the private state of one suite.
qm_apt() {
  local suite=$1 tool=$2; shift 2
  local root; root=$(qm_apt_root "$suite")
  local opts=(
    -o "Dir::Etc::SourceList=$root/sources.list"
    -o "Dir::Etc::SourceParts=$root/sources.list.d"
    -o "Dir::Etc::Preferences=$root/preferences"
    -o "Dir::Etc::PreferencesParts=$root/preferences.d"
    -o "Dir::State::Lists=$root/lists"
    -o "Dir::Cache=$root/cache"
    -o "Dir::Cache::archives=$root/cache/archives"
    -o "Acquire::Languages=none"
    -o "APT::Get::List-Cleanup=true"
  )
  # apt drops to the _apt user for downloads, which cannot write into root's
  # private folders; these downloads go to folders we own anyway.
  [ "$(id -u)" -eq 0 ] && opts+=(-o "APT::Sandbox::User=root")
  "$tool" "${opts[@]}" "$@"
}

qm_apt_prepare() {
  local suite=$1 root mirror
  root=$(qm_apt_root "$suite")
  mirror=$(qm_mirror)
  mkdir -p "$root/empty" "$root/sources.list.d" "$root/preferences.d" "$root/lists/partial" "$root/cache/archives/partial"
  printf 'deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s %s main\n' \
    "$mirror" "$suite" > "$root/sources.list.new"
  mv -f "$root/sources.list.new" "$root/sources.list"
}

# Refreshes one suite's private Sources index.
qm_apt_update() {
  local suite=$1 root
  root=$(qm_apt_root "$suite")
  qm_apt_prepare "$suite"
  qm_say "refreshing the $suite source index"
  if ! qm_apt "$suite" apt-get update -q --error-on=any >"$root/update.log" 2>&1; then
    tail -n 20 "$root/update.log" >&2
    qm_die "cannot refresh the $suite source index (network?)"
  fi
}

# Version of the newest source package <pkg> in <suite> (Debian's ordering).
qm_source_version() {
  local suite=$1 pkg=$2 v best=
  for v in $(qm_apt "$suite" apt-cache showsrc --only-source "$pkg" 2>/dev/null | awk '/^Version:/ { print $2 }'); do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  [ -n "$best" ] || qm_die "source package $pkg not found in the $suite index"
  printf '%s\n' "$best"
}

# Downloads <pkg>=<version> from <suite> into $QM_CACHE/.downloads/<pkg>_<version>
# and checks that the files matching the given globs (default: all of them) are
# there with the SHA-256 of the index; sets QM_FETCHED to that folder.
# apt-get source fails as soon as any file (even a detached signature) is
# missing on the mirror but keeps everything it did fetch, so its exit code is
# ignored and the files are checked instead.
qm_fetch_source() {
  local suite=$1 pkg=$2 version=$3; shift 3
  local globs=("$@"); [ ${#globs[@]} -gt 0 ] || globs=('*')
  local dir="$QM_CACHE/.downloads/${pkg}_${version//:/_}"
  mkdir -p "$dir"
  local list name size sum g want entry have_all=1 need=()
  # (listed from an empty folder: apt leaves out files already downloaded to the current one)
  list=$(cd "$(qm_apt_root "$suite")/empty" && qm_apt "$suite" apt-get source --print-uris --only-source -q "$pkg=$version" 2>/dev/null \
         | awk "/^'/ { for (i = 4; i <= NF; i++) if (\$i ~ /^SHA256:/) { sub(/^SHA256:/, \"\", \$i); print \$2, \$3, \$i } }")
  [ -n "$list" ] || qm_die "source package $pkg=$version is not listed in the $suite index"
  while read -r name size sum; do
    want=0
    for g in "${globs[@]}"; do
      # shellcheck disable=SC2254
      case $name in $g) want=1 ;; esac
    done
    [ $want = 1 ] && need+=("$name $sum")
  done <<<"$list"
  [ ${#need[@]} -gt 0 ] || qm_die "$pkg $version has no file matching ${globs[*]}"
  for entry in "${need[@]}"; do
    [ -f "$dir/${entry%% *}" ] || have_all=0
  done
  if [ $have_all = 0 ]; then
    qm_say "fetching $pkg $version ($suite)"
    (cd "$dir" && qm_apt "$suite" apt-get source --download-only --only-source -q "$pkg=$version") \
      >"$dir/fetch.log" 2>&1 || true
  fi
  for entry in "${need[@]}"; do
    name=${entry%% *}; sum=${entry#* }
    if [ ! -f "$dir/$name" ]; then
      grep -E '^(Err|E:|W:)' "$dir/fetch.log" >&2 || true
      qm_die "could not fetch $name ($pkg $version, $suite)"
    fi
    if [ "$(sha256sum "$dir/$name" | cut -d' ' -f1)" != "$sum" ]; then
      rm -f "$dir/$name"
      qm_die "$name ($pkg $version) does not match the checksum of the index"
    fi
  done
  QM_FETCHED=$dir
}

# Unpacks a Debian source package (patches applied) into <dest>.
qm_dpkg_source() {
  local dsc=$1 dest=$2
  dpkg-source --no-check -x "$dsc" "$dest" >/dev/null \
    || qm_die "dpkg-source could not unpack $(basename "$dsc")"
}

# --- Build helpers -----------------------------------------------------------

# CMake configure for the target without a toolchain file (the flags are the
# same as the project's toolchain; keeping them here keeps each recipe's hash
# independent of the project's own build settings).
qm_cmake() {
  local src=$1 bld=$2; shift 2
  local launch=()
  [ -n "$QM_LAUNCHER" ] && launch=(-DCMAKE_C_COMPILER_LAUNCHER="$QM_LAUNCHER" -DCMAKE_CXX_COMPILER_LAUNCHER="$QM_LAUNCHER")
  cmake -S "$src" -B "$bld" -G Ninja -Wno-dev \
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
    -DCMAKE_C_COMPILER=$QM_TRIPLE-gcc-posix -DCMAKE_CXX_COMPILER=$QM_TRIPLE-g++-posix \
    -DCMAKE_RC_COMPILER=$QM_TRIPLE-windres \
    -DCMAKE_AR=/usr/bin/$QM_AR -DCMAKE_RANLIB=/usr/bin/$QM_RANLIB \
    -DCMAKE_FIND_ROOT_PATH=/usr/$QM_TRIPLE \
    -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
    -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$OUT" "${launch[@]}" "$@"
}

# Fails unless every given path exists below $OUT.
qm_expect_outputs() {
  local f
  for f in "$@"; do [ -e "$OUT/$f" ] || qm_die "build did not produce $f"; done
}
