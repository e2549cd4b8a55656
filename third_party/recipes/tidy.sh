# HTML Tidy 5 with Debian's patches: static libtidys.a (consumers define TIDY_STATIC).
SOURCES=("tidy-html5 bookworm")

recipe_build() {
  qm_dpkg_source "$SRC_tidy_html5"/tidy-html5_*.dsc src
  qm_cmake src build -DBUILD_SHARED_LIB=OFF -DSUPPORT_CONSOLE_APP=OFF -DTIDY_CONSOLE_SHARED=OFF
  cmake --build build -j "$JOBS"
  cmake --install build
  qm_expect_outputs lib/libtidys.a include/tidy.h include/tidybuffio.h
}

recipe_cmake() {
  cat <<CMAKE
if(NOT TARGET qm::tidy)
  add_library(qm::tidy STATIC IMPORTED GLOBAL)
  set_target_properties(qm::tidy PROPERTIES
    IMPORTED_LOCATION "$PREFIX/lib/libtidys.a"
    INTERFACE_INCLUDE_DIRECTORIES "$PREFIX/include"
    INTERFACE_COMPILE_DEFINITIONS TIDY_STATIC)
endif()
CMAKE
}
