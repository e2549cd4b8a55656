# Scintilla and Lexilla (from Debian's scite source) linked into ONE scilexer.dll
# exporting Scintilla's direct function and Lexilla's C interface. Its DllMain
# registers the "Scintilla" window class. Debian's patches only touch SciTE
# itself, so the original tarball is enough.
SOURCES=("scite bookworm *.orig.tar.gz")

# Functions the DLL exports (besides what DllMain does on load).
SCILEXER_EXPORTS=(
  Scintilla_DirectFunction
  CreateLexer GetLexerCount GetLexerName GetLexerFactory LexerNameFromID
  GetLibraryPropertyNames SetLibraryProperty GetNameSpace
)

recipe_build() {
  tar -xzf "$SRC_scite"/scite_*.orig.tar.gz scintilla lexilla
  # Scintilla's objects for the DLL build (ScintillaDLL.o holds DllMain) and
  # Lexilla's objects. One make drives both so they share the $JOBS job slots.
  cat > both.mk <<'MK'
all: scintilla lexilla
scintilla:
	+$(MAKE) -C scintilla/win32 $(TOOLS) CXXFLAGS=-DSCILEXER_COMBINED ../bin/libscintilla.a ScintillaDLL.o ScintRes.o
lexilla:
	+$(MAKE) -C lexilla/src $(TOOLS) ../bin/liblexilla.a
.PHONY: all scintilla lexilla
MK
  make -f both.mk -j "$JOBS" \
    TOOLS="CXX='$QM_CXX' AR=$QM_AR RANLIB=$QM_RANLIB WINDRES=$QM_WINDRES"
  { echo 'LIBRARY scilexer.dll'; echo EXPORTS; printf '  %s\n' "${SCILEXER_EXPORTS[@]}"; } > scilexer.def
  mkdir -p "$OUT/bin" "$OUT/lib" "$OUT/include/scintilla" "$OUT/include/lexilla"
  # Page-aligned sections in the file (see README.md): Wine maps the DLL from it.
  $QM_CXX -shared -static -mwindows -s -Wl,--file-alignment,4096 -o "$OUT/bin/scilexer.dll" scilexer.def \
    scintilla/win32/*.o lexilla/src/*.o -Wl,--out-implib,"$OUT/lib/libscilexer.dll.a" \
    -lgdi32 -luser32 -limm32 -lole32 -luuid -loleaut32 -lmsimg32
  grep -qE '^FileAlignment[[:space:]]+0*1000$' <<<"$($QM_TRIPLE-objdump -p "$OUT/bin/scilexer.dll")" \
    || qm_die "scilexer.dll is not page-aligned in its file"
  cp scintilla/include/*.h "$OUT/include/scintilla/"
  cp lexilla/include/*.h "$OUT/include/lexilla/"
  # Every export must be there, and nothing but system DLLs may be imported.
  local exports
  exports=$(x86_64-w64-mingw32-objdump -p "$OUT/bin/scilexer.dll")
  local f
  for f in "${SCILEXER_EXPORTS[@]}"; do
    grep -qE "\] $f\$" <<<"$exports" || qm_die "scilexer.dll does not export $f"
  done
  if grep -iE 'DLL Name: (libstdc|libgcc|libwinpthread)' <<<"$exports"; then
    qm_die "scilexer.dll depends on MinGW runtime DLLs"
  fi
  qm_expect_outputs bin/scilexer.dll lib/libscilexer.dll.a include/scintilla/Scintilla.h \
    include/scintilla/ILexer.h include/lexilla/Lexilla.h include/lexilla/SciLexer.h
}

recipe_cmake() {
  cat <<CMAKE
if(NOT TARGET qm::scilexer)
  add_library(qm::scilexer SHARED IMPORTED GLOBAL)
  set_target_properties(qm::scilexer PROPERTIES
    IMPORTED_LOCATION "$PREFIX/bin/scilexer.dll"
    IMPORTED_IMPLIB "$PREFIX/lib/libscilexer.dll.a"
    INTERFACE_INCLUDE_DIRECTORIES "$PREFIX/include/scintilla;$PREFIX/include/lexilla")
endif()
list(APPEND QM_RUNTIME_FILES "$PREFIX/bin/scilexer.dll")
CMAKE
}
