# libpng 1.6 with Debian's patches, static, plus the static zlib of Debian's
# libz-mingw-w64-dev (copied into the entry so it stays consistent with libpng).
SOURCES=("libpng1.6 bookworm" "libz-mingw-w64-dev installed")

recipe_build() {
  qm_dpkg_source "$SRC_libpng1_6"/libpng1.6_*.dsc src
  local sysroot=/usr/$QM_TRIPLE
  qm_cmake src build \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_FRAMEWORK=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON \
    -DZLIB_LIBRARY="$sysroot/lib/libz.a" -DZLIB_INCLUDE_DIR="$sysroot/include"
  cmake --build build -j "$JOBS"
  cmake --install build
  cp "$sysroot/lib/libz.a" "$OUT/lib/"
  cp "$sysroot/include/zlib.h" "$sysroot/include/zconf.h" "$OUT/include/"
  qm_expect_outputs lib/libpng16.a lib/libz.a include/png.h include/pnglibconf.h include/zlib.h
}

recipe_cmake() {
  cat <<CMAKE
if(NOT TARGET qm::png)
  add_library(qm::zlib STATIC IMPORTED GLOBAL)
  set_target_properties(qm::zlib PROPERTIES
    IMPORTED_LOCATION "$PREFIX/lib/libz.a"
    INTERFACE_INCLUDE_DIRECTORIES "$PREFIX/include")
  add_library(qm::png STATIC IMPORTED GLOBAL)
  set_target_properties(qm::png PROPERTIES
    IMPORTED_LOCATION "$PREFIX/lib/libpng16.a"
    INTERFACE_INCLUDE_DIRECTORIES "$PREFIX/include"
    INTERFACE_LINK_LIBRARIES qm::zlib)
endif()
CMAKE
}
