#!/bin/bash
# Draws the editor's icons (.ico) and bitmaps (.bmp) with ImageMagick.
# Usage: resources/res/make-images.sh   (writes into the folder of this script)
#
# The pictures and the helpers (draw, strip, icon) come from the picture book
# shared with the toolkit's images script, scripts/images-lib.sh. Toolbar
# strips are 24-bit bitmaps on magenta (#FF00FF), the colour of their top-left
# pixel, which the program treats as transparent; the pane and tree strips use
# silver (#C0C0C0), their fixed mask colour.
#
# The toolbar strips must list their pictures in the order of the command ids
# in toolbars.rc (separators excluded); the tests check the strip widths.
set -euo pipefail
cd "$(dirname "$0")"
source ../../scripts/images-lib.sh

# ---------------------------------------------------------------------------
# The program icon: a quill on a blue square.
G[quill]='fill #2060C0 stroke #103070 roundrectangle 1,1 14,14 3,3 fill white stroke #C0D8F8 polygon 4,13 6,9 10,4 13,2 12,6 8,10 fill none stroke #103070 line 4,13 10,6'
G[docicon]="$D_page $D_lines"
G[hexicon]="${G[binfile]}"
G[compareicon]="${G[compare]}"
G[previewicon]="${G[browser]}"

icon qmate.ico quill
icon text.ico docicon
icon hex.ico hexicon
icon compare.ico compareicon
icon preview.ico previewicon
icon find.ico find
icon replace.ico replace
icon goto.ico goto
icon macro.ico record

# Toolbars (order = toolbars.rc without separators).
MAIN=(new open save saveall cut copy paste undo redo findbox find findnext replace
      bookmark bmnext bmprev print printpreview browser wordwrap whitespace linenumbers
      spelling navback navforward)
strip toolbar-main.bmp 16 "$MAGENTA" "${MAIN[@]}"
strip toolbar-large.bmp 24 "$MAGENTA" "${MAIN[@]}"
strip toolbar-menu.bmp 16 "$MAGENTA" \
  openhex compare fromtemplate properties selectall indentright indentleft comment uncomment \
  uppercase lowercase findprev goto findinfiles bmclear caretline folding ruler lineendings font \
  tidy xmlcheck record stop play stoptool customize properties help about \
  proj filexp library listexp output findinfiles funclist
strip toolbar-preview.bmp 16 "$MAGENTA" print next prev twopage onepage twopage zoomin zoomout close
strip toolbar-previewbar.bmp 16 "$MAGENTA" print next prev twopage zoomin zoomout close
strip toolbar-project.bmp 16 "$MAGENTA" addfolder delfolder renfolder
strip toolbar-filetree.bmp 16 "$MAGENTA" refresh

# Pane icons, in the order the main frame hands the pane ids over.
strip panes.bmp 16 "$SILVER" filexp proj library listexp output findinfiles window funclist
# Workspace tree: folder, open folder, binary file, other file.
strip projtree.bmp 16 "$SILVER" folder folder_open binfile textfile
# Template tree: open folder (selected), folder, file, selected file.
strip templtree.bmp 16 "$SILVER" folder_open folder textfile textfile_sel

echo "make-images: done"
