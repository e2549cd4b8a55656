# GNU Aspell as aspell-15.dll with its C interface, and the English dictionary
# folder (an Aspell prefix: lib/aspell-0.60 with data files and compiled word
# lists). Aspell comes from trixie because bookworm's tarball is not served;
# the dictionary is bookworm's aspell-en. Only the original tarballs are used
# (the Debian parts of both are not served either; their patches concern
# Debian's packaging).
SOURCES=("aspell trixie *.orig.tar.gz" "aspell-en bookworm *.orig.tar.bz2")

recipe_build() {
  tar -xzf "$SRC_aspell"/aspell_*.orig.tar.gz
  tar -xjf "$SRC_aspell_en"/aspell-en_*.orig.tar.bz2
  local src en
  src=$(echo "$WORK"/aspell-0.*/); src=${src%/}
  en=$(echo "$WORK"/aspell6-en-*/); en=${en%/}
  [ -f "$src/configure" ] && [ -f "$en/en.multi" ] || qm_die "unexpected tarball layout"

  # The WIN32 branch of file_util.cpp uses asc_isalpha without its header.
  sed -i 's|#include "string_list.hpp"|&\n#include "asc_ctype.hpp"|' "$src/common/file_util.cpp"
  grep -q '#include "asc_ctype.hpp"' "$src/common/file_util.cpp" || qm_die "file_util.cpp fix did not apply"

  # MINGW32=yes: when cross-compiling, configure cannot run its st_ino test and
  # would otherwise assume inode numbers work. They are always 0 on Windows, so
  # every word list would look like the same file to the dictionary cache and a
  # .multi dictionary would load its first list twice.
  # -static in CC/CXX makes libtool build only libaspell.a; the DLL is linked below
  # with exactly the C interface of aspell.h, free of MinGW runtime DLLs.
  cd "$src"
  MINGW32=yes ./configure --host=$QM_TRIPLE --build="$(gcc -dumpmachine)" \
    CC="$QM_CC -static" CXX="$QM_CXX -static" CFLAGS=-O2 CXXFLAGS=-O2 \
    --prefix=/aspell --enable-win32-relocatable --enable-compile-in-filters \
    --disable-curses --disable-nls --disable-pspell-compatibility
  grep -q '/\* #undef USE_FILE_INO \*/' gen/settings.h || qm_die "USE_FILE_INO is defined for Windows"
  # -all-static: libtool would drop a plain -static and aspell.exe would need DLLs.
  make -j "$JOBS" LDFLAGS=-all-static
  make install DESTDIR="$WORK/stage" LDFLAGS=-all-static
  local stage=$WORK/stage/aspell

  mkdir -p "$OUT/bin" "$OUT/lib" "$OUT/include" "$OUT/tools"
  {
    echo 'LIBRARY aspell-15.dll'
    echo EXPORTS
    comm -12 \
      <($QM_NM -g --defined-only "$stage/lib/libaspell.a" | awk '$2 == "T" { print $3 }' | sort -u) \
      <(grep -oE '\b[a-z_0-9]*aspell_[a-z_0-9]*[[:space:]]*\(' "$stage/include/aspell.h" | tr -d ' (' | sort -u) \
      | sed 's/^/  /'
  } > "$WORK/aspell-15.def"
  local n; n=$(grep -c '^  ' "$WORK/aspell-15.def")
  [ "$n" -ge 100 ] || qm_die "only $n functions of aspell.h found in libaspell.a"
  # Page-aligned sections in the file (see README.md): Wine maps the DLL from it.
  $QM_CXX -shared -static -s -Wl,--file-alignment,4096 -o "$OUT/bin/aspell-15.dll" "$WORK/aspell-15.def" \
    -Wl,--whole-archive "$stage/lib/libaspell.a" -Wl,--no-whole-archive \
    -Wl,--out-implib,"$OUT/lib/libaspell.dll.a"
  grep -qE '^FileAlignment[[:space:]]+0*1000$' <<<"$($QM_TRIPLE-objdump -p "$OUT/bin/aspell-15.dll")" \
    || qm_die "aspell-15.dll is not page-aligned in its file"
  if $QM_TRIPLE-objdump -p "$OUT/bin/aspell-15.dll" | grep -iE 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
    qm_die "aspell-15.dll depends on MinGW runtime DLLs"
  fi
  cp "$stage/include/aspell.h" "$OUT/include/"
  $QM_STRIP -o "$OUT/tools/aspell.exe" "$stage/bin/aspell.exe"

  # The dictionary folder: Aspell's own data files plus aspell-en's language
  # data, with the word lists compiled by this very aspell.exe under Wine.
  local dict="$OUT/aspell/lib/aspell-0.60"
  mkdir -p "$dict"
  cp -r "$stage/lib/aspell-0.60/." "$dict/"
  cp "$en"/*.dat "$en"/*.multi "$en"/*.alias "$dict/"
  gcc -O2 -o "$WORK/prezip" "$src/prog/prezip.c"

  # A private Wine prefix, its server started detached so that no Wine daemon
  # keeps this build's output pipes open (their messages go to a file).
  # Wine's own errors stay visible in the log: a Wine failure is otherwise silent.
  export WINEPREFIX="$WORK/wineprefix" WINEARCH=win64 WINEDEBUG=-all,err+all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY
  mkdir -p "$WINEPREFIX"
  # "wineserver -p" returns once the server is listening (it daemonizes itself);
  # starting it in the background instead would race with wineboot, which then
  # may start a short-lived server of its own.
  setsid -w wineserver -p </dev/null >>"$WORK/wine.log" 2>&1 || { cat "$WORK/wine.log"; qm_die "wineserver failed"; }
  setsid -w wine wineboot -i </dev/null >>"$WORK/wine.log" 2>&1 || { cat "$WORK/wine.log"; qm_die "wineboot failed"; }
  local cwl name rc
  cd "$dict"
  for cwl in "$en"/*.cwl; do
    name=$(basename "$cwl" .cwl)
    "$WORK/prezip" -d < "$cwl" > "$WORK/$name.wl"
    # One retry: Wine has been seen to fail a start once on a loaded machine.
    local try
    for try in 1 2; do
      rc=0
      wine "$OUT/tools/aspell.exe" --lang=en --data-dir=. --dict-dir=. create master "./$name.rws" \
        < "$WORK/$name.wl" || rc=$?
      [ $rc -eq 0 ] && break
      echo "aspell.exe failed on $name (exit code $rc, try $try); Wine's log:"
      cat "$WORK/wine.log"
      [ $try -eq 2 ] && qm_die "aspell.exe could not compile $name"
      sleep 2
    done
    [ -s "$name.rws" ] || qm_die "word list $name.rws was not created"
    rm -f "$WORK/$name.wl"
  done
  # The compiled dictionaries must tell American from British spelling (they
  # cannot if a .multi loads its first list twice).
  local us gb
  us=$(printf 'color colour\n' | wine "$OUT/tools/aspell.exe" --data-dir=. --dict-dir=. -d en_US list | tr -d '\r')
  gb=$(printf 'color colour\n' | wine "$OUT/tools/aspell.exe" --data-dir=. --dict-dir=. -d en_GB list | tr -d '\r')
  [ "$us" = colour ] && [ "$gb" = color ] || qm_die "dictionary check failed: en_US rejects '$us', en_GB rejects '$gb'"
  wineserver -k || true
  cd "$WORK"

  local lists; lists=$(ls "$dict"/*.rws | wc -l)
  [ "$lists" -eq "$(ls "$en"/*.cwl | wc -l)" ] || qm_die "only $lists word lists compiled"
  qm_expect_outputs bin/aspell-15.dll lib/libaspell.dll.a include/aspell.h \
    aspell/lib/aspell-0.60/en.multi aspell/lib/aspell-0.60/en-common.rws aspell/lib/aspell-0.60/iso-8859-1.cset
}

recipe_cmake() {
  cat <<CMAKE
if(NOT TARGET qm::aspell)
  add_library(qm::aspell SHARED IMPORTED GLOBAL)
  set_target_properties(qm::aspell PROPERTIES
    IMPORTED_LOCATION "$PREFIX/bin/aspell-15.dll"
    IMPORTED_IMPLIB "$PREFIX/lib/libaspell.dll.a"
    INTERFACE_INCLUDE_DIRECTORIES "$PREFIX/include")
endif()
list(APPEND QM_RUNTIME_FILES "$PREFIX/bin/aspell-15.dll")
set(QM_ASPELL_PREFIX "$PREFIX/aspell")
CMAKE
}
