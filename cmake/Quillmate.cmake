# Helpers shared by every component: exact output names, tests under Wine.

include_guard(GLOBAL)

# Windows form of a Unix path ("/a/b" -> "Z:/a/b"), for paths baked into test programs.
function(qm_windows_path out path)
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()

qm_windows_path(QM_SOURCE_DIR_W "${PROJECT_SOURCE_DIR}")
qm_windows_path(QM_BIN_DIR_W "${QM_BIN_DIR}")

# A DLL named exactly <name>.dll in the bin folder; link against target <name>.
function(qm_dll name)
  add_library(${name} SHARED ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME "${name}"
    IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
  target_link_options(${name} PRIVATE -static)
endfunction()

# The programs built here run with the UTF-8 process code page, as the editor
# does (cmake/utf8.manifest): names in any language pass through their char
# functions whole. A program that links its own manifest (the editor, the
# registration tool) or that stands in for a host running the legacy code page
# (Explorer loading the shell extension) says so and gets none from here.
set(QM_UTF8_MANIFEST_RC "${CMAKE_CURRENT_LIST_DIR}/utf8manifest.rc")
set_source_files_properties(${QM_UTF8_MANIFEST_RC} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/utf8.manifest" INCLUDE_DIRECTORIES "${CMAKE_CURRENT_LIST_DIR}")

# A program named exactly <name>.exe in the bin folder. WIN32 (default) or
# CONSOLE; OWN_MANIFEST: the program links a manifest of its own.
function(qm_exe name)
  set(kind WIN32)
  set(srcs ${ARGN})
  list(GET srcs 0 first)
  if(first STREQUAL "WIN32" OR first STREQUAL "CONSOLE")
    set(kind ${first})
    list(REMOVE_AT srcs 0)
  endif()
  list(FIND srcs OWN_MANIFEST own)
  if(own GREATER -1)
    list(REMOVE_AT srcs ${own})
  else()
    list(APPEND srcs ${QM_UTF8_MANIFEST_RC})
  endif()
  if(kind STREQUAL "WIN32")
    add_executable(${name} WIN32 ${srcs})
  else()
    add_executable(${name} ${srcs})
  endif()
  set_target_properties(${name} PROPERTIES OUTPUT_NAME "${name}")
  target_link_options(${name} PRIVATE -static)
endfunction()

# qm_test(<name> SOURCES ... [LIBS ...] [NO_MAIN] [GUI] [LEGACY_CODE_PAGE] [TIMEOUT sec] [HELPER])
# A GoogleTest program in the tests folder, run by CTest through Wine. It runs
# with the UTF-8 process code page (the editor's resources, whole or its own
# part alone, bring the editor's manifest, the others get cmake/utf8.manifest);
# LEGACY_CODE_PAGE keeps the system's ANSI code page, as in a host such as
# Explorer. HELPER: built like a test program, but run only by another test
# (CTest does not run it).
# GUI tests that need keyboard focus or the foreground window take a shared lock,
# so they never steal focus from each other; other tests run in parallel.
function(qm_test name)
  cmake_parse_arguments(T "NO_MAIN;GUI;LEGACY_CODE_PAGE;HELPER" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  # A test's resource script may include the toolkit's (toolkit.rc), whose
  # files windres does not report: rebuild it when one of them changes.
  if(QX_RESOURCE_INPUTS)
    foreach(src IN LISTS T_SOURCES)
      if(src MATCHES "\\.rc$")
        set_property(SOURCE ${src} APPEND PROPERTY OBJECT_DEPENDS ${QX_RESOURCE_INPUTS})
      endif()
    endforeach()
  endif()
  if(NOT T_LEGACY_CODE_PAGE AND NOT "qmresources" IN_LIST T_LIBS AND NOT "qmeditorresources" IN_LIST T_LIBS)
    list(APPEND T_SOURCES ${QM_UTF8_MANIFEST_RC})
  endif()
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${QM_TESTS_DIR}")
  # Helpers shared by the tests of several components.
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests/support/include")
  target_compile_definitions(${name} PRIVATE
    QM_SOURCE_DIR="${QM_SOURCE_DIR_W}" QM_BIN_DIR="${QM_BIN_DIR_W}")
  # Every program, whatever its main, gets the skip rule: a skip that names
  # no platform limit fails the test (tests/README.md).
  if(T_NO_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} qmtest_skiprule GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} qmtest_skiprule GTest::gmock_main)
  endif()
  target_link_options(${name} PRIVATE -static)
  if(T_HELPER)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_GUI)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop_focus LABELS gui)
  endif()
endfunction()

# The language files (*.config) that ship with the editor: written in
# resources/config, copied beside Qmate.exe into bin/Config (target
# qmconfigs) and carried by the installer package.
file(GLOB QM_SHIPPED_CONFIGS CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/config/*.config")
set(QM_SHIPPED_CONFIG_DIR "${QM_BIN_DIR}/Config")
# The HTML Tidy option files (*.tidy) likewise: resources/tidy, bin/Tidy
# (target qmtidyfiles), the installer package.
file(GLOB QM_SHIPPED_TIDY_FILES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/tidy/*.tidy")
set(QM_SHIPPED_TIDY_DIR "${QM_BIN_DIR}/Tidy")
