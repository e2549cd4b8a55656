# The toolkit's resource script and ids, for the program and the toolkit's
# tests. Included by resources/CMakeLists.txt (the program's script includes
# toolkit.rc) and by toolkit/CMakeLists.txt (the libraries and their tests):
#   QX_RESOURCES_DIR     this folder: qxresource.h and toolkit.rc
#   QX_TOOLKIT_RC        the script, for a test program without its own
#   QX_RESOURCE_INPUTS   every file the script pulls in (OBJECT_DEPENDS of a
#                        script that includes it)
#   qxresources          interface target: the include folder, for C++ and scripts
set(QX_RESOURCES_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QX_TOOLKIT_RC ${QX_RESOURCES_DIR}/toolkit.rc)
set(QX_RESOURCE_INPUTS qxresource.h toolkit.rc
  res/qx-tab-drag.cur res/qx-tab-nodrop.cur res/qx-drag-move.cur res/qx-drag-copy.cur
  res/qx-drag-none.cur res/qx-split-leftright.cur res/qx-split-updown.cur res/qx-hand.cur
  res/qx-browse-arrows.bmp res/qx-editlist-strip.bmp res/qx-edit-menu.bmp
  res/qx-grid-sort.bmp
  res/qx-customize-copy.cur res/qx-customize-move.cur res/qx-customize-nodrop.cur
  res/qx-customize-width.cur res/qx-editor-line.cur res/qx-editor-pick.cur res/qx-editor-fill.cur
  res/qx-editor-pencil.cur res/qx-editor-tools.bmp res/qx-editor-tools-alpha.bmp res/qx-stock-pictures.bmp
  res/qx-guide-back.bmp res/qx-guide-parts.bmp res/qx-guide-parts-olive.bmp
  res/qx-guide-parts-silver.bmp res/qx-guide-vs.bmp
  res/qx-mdi-buttons.bmp res/qx-tab-groups.bmp)
# The Office 2007 theme module: its script names every file it pulls in.
file(STRINGS ${QX_RESOURCES_DIR}/office2007/office2007.rc _qx_office2007 REGEX "\"office2007/")
foreach(_line IN LISTS _qx_office2007)
  string(REGEX REPLACE ".*\"(office2007/[^\"]+)\".*" "\\1" _file "${_line}")
  list(APPEND QX_RESOURCE_INPUTS ${_file})
endforeach()
list(APPEND QX_RESOURCE_INPUTS office2007/office2007.rc)
list(TRANSFORM QX_RESOURCE_INPUTS PREPEND ${QX_RESOURCES_DIR}/)

if(NOT TARGET qxresources)
  add_library(qxresources INTERFACE)
  target_include_directories(qxresources INTERFACE ${QX_RESOURCES_DIR})
endif()
