# TinyXML 2.6 with Debian's patches (STL mode, CVE fixes): static libtinyxml.a.
SOURCES=("tinyxml bookworm")

recipe_build() {
  qm_dpkg_source "$SRC_tinyxml"/tinyxml_*.dsc src
  cd src
  # shellcheck disable=SC2086
  printf '%s\n' tinyxml tinyxmlerror tinyxmlparser tinystr \
    | xargs -P "$JOBS" -I{} $QM_CXX -O2 -DTIXML_USE_STL -c {}.cpp -o {}.o
  mkdir -p "$OUT/lib" "$OUT/include"
  $QM_AR rcs "$OUT/lib/libtinyxml.a" tinyxml.o tinyxmlerror.o tinyxmlparser.o tinystr.o
  cp tinyxml.h tinystr.h "$OUT/include/"
  qm_expect_outputs lib/libtinyxml.a include/tinyxml.h
}

recipe_cmake() {
  cat <<CMAKE
if(NOT TARGET qm::tinyxml)
  add_library(qm::tinyxml STATIC IMPORTED GLOBAL)
  set_target_properties(qm::tinyxml PROPERTIES
    IMPORTED_LOCATION "$PREFIX/lib/libtinyxml.a"
    INTERFACE_INCLUDE_DIRECTORIES "$PREFIX/include"
    INTERFACE_COMPILE_DEFINITIONS TIXML_USE_STL)
endif()
CMAKE
}
