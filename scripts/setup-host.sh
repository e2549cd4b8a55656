#!/bin/bash
# Installs the host packages the build and the tests need. Idempotent: a machine
# that has them all costs one dpkg query.
set -euo pipefail
pkgs=(
  cmake ninja-build ccache make dpkg-dev xz-utils bzip2 ca-certificates
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  libz-mingw-w64-dev googletest
  clang libclang-rt-dev libtinyxml-dev
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick msitools wixl
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "setup: installing ${missing[*]}"
SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q >/dev/null
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
