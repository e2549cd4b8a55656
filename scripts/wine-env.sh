# Sourced with BUILD_DIR set: the environment every Wine process of a build uses.
export WINEPREFIX="${QM_WINEPREFIX:-$BUILD_DIR/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64
# DLLs of the build (scilexer.dll, filescan.dll ...) load from the bin folder.
export WINEPATH="Z:$(printf '%s' "$BUILD_DIR/bin" | tr / '\\')"
export QM_BUILD_DIR="$BUILD_DIR"
