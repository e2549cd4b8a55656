#!/bin/bash
# Draws the toolkit's cursors (.cur) and bitmaps (.bmp) into res/ with
# ImageMagick; the generated files are kept in the tree.
# Usage: toolkit/resources/make-images.sh
#
# The picture book and its helpers (strip, glyphs, cursor) are shared with
# the editor's images script: scripts/images-lib.sh. Strips are 24-bit
# bitmaps on magenta (#FF00FF), the mask colour the toolkit gives them.
# Cursors are 32x32 with an alpha channel, drawn in pixels with a black
# outline on white (or white on black) so they show on any background.
set -euo pipefail
cd "$(dirname "$0")/res"
source ../../../scripts/images-lib.sh

# ---------------------------------------------------------------------------
# Small glyphs, in pixels.

# tri DIRECTION X Y ROWS: a filled black triangle pointing up, down, left or
# right with its tip at X,Y, ROWS deep (its base is 2 x ROWS - 1 long).
tri() {
  local dir=$1 x=$2 y=$3 n=$4 i out='fill black stroke none'
  for ((i = 0; i < n; i++)); do
    case $dir in
      up)    out+=" rectangle $((x - i)),$((y + i)) $((x + i)),$((y + i))" ;;
      down)  out+=" rectangle $((x - i)),$((y - i)) $((x + i)),$((y - i))" ;;
      left)  out+=" rectangle $((x + i)),$((y - i)) $((x + i)),$((y + i))" ;;
      right) out+=" rectangle $((x - i)),$((y - i)) $((x - i)),$((y + i))" ;;
    esac
  done
  echo "$out"
}

# Bitmap 9300, the browse button's arrows: eight 11x11 glyphs. 0-3 small
# arrows (left, up, right, down), 4-7 large ones (right, down, left, up).
# Image 4 is the arrow of a browse button that opens a menu at its right.
glyphs qx-browse-arrows.bmp 11x11 "$MAGENTA" \
  "$(tri left 4 5 3)" "$(tri up 5 4 3)" "$(tri right 6 5 3)" "$(tri down 5 6 3)" \
  "$(tri right 7 5 5)" "$(tri down 5 7 5)" "$(tri left 3 5 5)" "$(tri up 5 3 5)"

# Bitmap 9304, the edit list's title strip: four 14x12 glyphs for New (a
# sheet), Delete (a red cross), Move Up and Move Down.
glyphs qx-editlist-strip.bmp 14x12 "$MAGENTA" \
  'fill white stroke black polygon 3,1 8,1 10,3 10,10 3,10 fill none polyline 8,1 8,3 10,3' \
  'stroke #C00000 line 3,2 9,8 line 4,2 10,8 line 9,2 3,8 line 10,2 4,8' \
  "$(tri up 6 3 5)" "$(tri down 6 8 5)"

# Toolbar 9500, the property grid's sort buttons, two 16x15 glyphs:
# Categorized (two category bands, each with its rows below) and
# Alphabetical ("A" over "Z" beside a down arrow).
glyphs qx-grid-sort.bmp 16x15 "$MAGENTA" \
  'fill #A0A0A0 stroke none rectangle 1,1 14,3 rectangle 1,8 14,10 fill none stroke #404040 line 4,5 14,5 line 4,12 14,12 fill #2050B0 stroke none rectangle 1,5 2,6 rectangle 1,12 2,13' \
  "fill none stroke #303030 line 1,7 4,1 line 4,1 7,7 line 2,5 6,5 line 1,9 7,9 line 7,9 1,14 line 1,14 7,14 $(tri down 12 13 4) fill #2050B0 rectangle 11,1 13,9"

# Toolbar 9309, the pictures of the edit menu: Undo, Cut, Copy, Paste, Delete.
G[delete]="${G[close]}"
strip qx-edit-menu.bmp 16 "$MAGENTA" undo cut copy paste delete

# ---------------------------------------------------------------------------
# Cursors, in pixels on a 32x32 canvas.

# transpose MVG: the drawing mirrored about the diagonal (x and y swapped).
transpose() { sed -E 's/(-?[0-9]+),(-?[0-9]+)/\2,\1/g' <<<"$1"; }

# The arrow pointer, tip at 1,1.
ARROW='fill white stroke black polygon 1,1 1,17 5,13 8,19 10,18 7,12 12,12 1,1'
# A page with a tab on top (a document tab), and a plain box.
TAB='fill white stroke black polygon 12,20 16,20 17,22 26,22 26,30 12,30 12,20'
BOX='fill none stroke black stroke-dasharray 2,1 rectangle 12,21 25,30'
PLUS='fill white stroke black rectangle 20,20 28,28 fill black stroke none rectangle 22,24 26,24 rectangle 24,22 24,26'
# no-sign CX CY R: a red ring crossed by a bar.
no_sign() {
  local x=$1 y=$2 r=$3
  echo "fill none stroke #C00000 stroke-width 3 circle $x,$y $((x + r)),$y line $((x - r * 7 / 10)),$((y - r * 7 / 10)) $((x + r * 7 / 10)),$((y + r * 7 / 10))"
}
# The splitter cursor for a bar dragged left or right: two upright bars with
# an arrow head on each side; the up-down cursor is the same drawing transposed.
SPLIT_LR='fill black stroke white polygon 1,15 6,10 6,13 11,13 11,17 6,17 6,20 1,15 polygon 30,15 25,10 25,13 20,13 20,17 25,17 25,20 30,15 rectangle 13,5 14,25 rectangle 17,5 18,25'
# A hand with the index finger up, the tip at 13,1.
HAND='fill white stroke black polygon 11,2 12,1 14,1 15,2 15,10 16,9 18,9 19,10 20,10 22,10 23,11 24,11 26,11 27,12 27,20 25,25 24,28 13,28 12,25 7,19 6,16 7,15 9,15 11,17 11,2 fill none line 19,11 19,16 line 23,12 23,16'

cursor qx-tab-drag.cur 1 1 "$TAB $ARROW"
cursor qx-tab-nodrop.cur 1 1 "$TAB $ARROW $(no_sign 24 24 5)"
cursor qx-drag-move.cur 1 1 "$BOX $ARROW"
cursor qx-drag-copy.cur 1 1 "$BOX $ARROW $PLUS"
cursor qx-drag-none.cur 15 15 "$(no_sign 15 15 11)"
cursor qx-split-leftright.cur 15 15 "$SPLIT_LR"
cursor qx-split-updown.cur 15 15 "$(transpose "$SPLIT_LR")"
cursor qx-hand.cur 13 1 "$HAND"

# The customize drag: a dashed button outline under the arrow (move), with a
# plus (copy), with the no-sign (no bar takes it). The width of an edit or
# combo box on a bar: a bar between arrows pointing left and right.
CBTN='fill white stroke black stroke-dasharray 2,1 rectangle 11,21 25,29'
CPLUS='fill white stroke black rectangle 22,14 30,22 fill black stroke none rectangle 24,18 28,18 rectangle 26,16 26,20'
SIZE_W='fill black stroke white polygon 1,15 7,9 7,13 12,13 12,17 7,17 7,21 1,15 polygon 30,15 24,9 24,13 19,13 19,17 24,17 24,21 30,15 rectangle 14,6 17,24'
cursor qx-customize-copy.cur 1 1 "$CBTN $ARROW $CPLUS"
cursor qx-customize-move.cur 1 1 "$CBTN $ARROW"
cursor qx-customize-nodrop.cur 1 1 "$CBTN $ARROW $(no_sign 24 22 6)"
cursor qx-customize-width.cur 15 15 "$SIZE_W"

# The button editor's drawing tools: a cross for lines and shapes (hot spot
# in its middle), a pipette (tip at the bottom left), a tipping bucket
# (pouring at the bottom left) and a pencil (tip at the bottom left).
CROSS='fill black stroke white rectangle 14,2 16,12 rectangle 14,18 16,28 rectangle 2,14 12,16 rectangle 18,14 28,16'
PIPETTE='fill white stroke black polygon 2,29 4,23 16,11 20,15 8,27 2,29 fill black polygon 16,7 20,3 26,3 28,5 28,11 24,15 16,7'
BUCKET='fill white stroke black polygon 10,6 24,14 18,26 4,18 10,6 fill #2050B0 polygon 4,18 1,24 1,29 4,29 6,22'
PENCIL='fill #F0C000 stroke black polygon 6,21 22,5 27,10 11,26 6,21 fill white polygon 6,21 11,26 1,30 fill black polygon 1,30 3,26 5,28'
cursor qx-editor-line.cur 15 15 "$CROSS"
cursor qx-editor-pick.cur 2 29 "$PIPETTE"
cursor qx-editor-fill.cur 1 29 "$BUCKET"
cursor qx-editor-pencil.cur 1 30 "$PENCIL"

# Bitmaps 9100 and 9101, the button editor's toolbars: twelve tools (Pencil,
# Fill Color, Undo, Redo, Pick Color, Line, Copy, Paste, Rectangle, Ellipse,
# Clear, Import from File), then the four move buttons (left, down, up,
# right); 16x16 each. 9100 is 24-bit on the grey mask colour #C0C0C0, 9101
# the same pictures with an alpha channel.
G[ed_pencil]='fill #F0C000 stroke #404040 polygon 3,10 10,3 13,6 6,13 3,10 fill #F8E0B0 polygon 3,10 6,13 1,15 fill #303030 stroke none polygon 1,15 2,13 3,14'
G[ed_fill]='fill white stroke #303030 polygon 6,2 13,7 9,13 2,9 6,2 fill #2050B0 stroke none polygon 2,9 0,12 0,15 2,15 3,11'
G[ed_pick]='fill white stroke #303030 polygon 1,15 2,12 8,6 10,8 4,14 1,15 fill #303030 polygon 8,4 11,1 14,1 15,2 15,5 12,8 8,4'
G[ed_line]='fill none stroke #303030 stroke-width 2 line 2,13 13,2'
G[ed_rect]='fill none stroke #303030 rectangle 2,3 13,12'
G[ed_ellipse]='fill none stroke #303030 ellipse 8,8 6,5 0,360'
G[ed_clear]='fill white stroke #505050 rectangle 3,2 12,13 stroke #D02020 line 5,5 10,10 line 10,5 5,10'
G[ed_import]="$D_folder_open fill #20A020 stroke none polygon 9,1 13,1 13,4 15,4 11,8 7,4 9,4"
G[ed_left]='fill #303030 stroke none polygon 4,8 10,2 10,14'
G[ed_down]='fill #303030 stroke none polygon 8,12 2,6 14,6'
G[ed_up]='fill #303030 stroke none polygon 8,4 2,10 14,10'
G[ed_right]='fill #303030 stroke none polygon 12,8 6,2 6,14'
EDITOR_TOOLS=(ed_pencil ed_fill undo redo ed_pick ed_line copy paste ed_rect ed_ellipse ed_clear ed_import
  ed_left ed_down ed_up ed_right)
strip qx-editor-tools.bmp 16 '#C0C0C0' "${EDITOR_TOOLS[@]}"
files=()
for i in "${!EDITOR_TOOLS[@]}"; do
  draw "${EDITOR_TOOLS[$i]}" 16 none "$tmp/a$i.png"
  files+=("$tmp/a$i.png")
done
convert "${files[@]}" -background none +append -type TrueColorAlpha "BMP:qx-editor-tools-alpha.bmp"

# Bitmap 9103, the stock button pictures of the customize menu's "Change
# Button Image" palette: six shapes in six colours, 16x16 each, on magenta.
stock=()
for colour in '#D02020' '#E08000' '#E0C000' '#20A020' '#2050B0' '#8030A0'; do
  G[st_square]="fill $colour stroke #303030 rectangle 2,2 13,13"
  G[st_circle]="fill $colour stroke #303030 circle 8,8 8,14"
  G[st_triangle]="fill $colour stroke #303030 polygon 8,1 15,14 1,14"
  G[st_diamond]="fill $colour stroke #303030 polygon 8,1 15,8 8,15 1,8"
  G[st_star]="fill $colour stroke #303030 polygon 8,1 10,6 15,6 11,9 13,15 8,11 3,15 5,9 1,6 6,6"
  G[st_heart]="fill $colour stroke #303030 polygon 8,15 1,8 1,4 4,1 8,4 12,1 15,4 15,8"
  for shape in st_square st_circle st_triangle st_diamond st_star st_heart; do
    G[st_$((${#stock[@]}))]="${G[$shape]}"
    stock+=("st_$((${#stock[@]}))")
  done
done
strip qx-stock-pictures.bmp 16 "$MAGENTA" "${stock[@]}"

# Bitmap 9102, the caption buttons of a maximised document on the menu bar:
# Restore (two windows), Minimize (a bar), Maximize (one window) and Close
# (a cross), 16x16 each, dark on magenta.
WIN_BACK='fill none stroke #202020 rectangle 6,3 12,9 fill #202020 stroke none rectangle 6,3 12,4'
WIN_FRONT='fill white stroke #202020 rectangle 3,6 9,12 fill #202020 stroke none rectangle 3,6 9,7'
glyphs qx-mdi-buttons.bmp 16x16 "$MAGENTA" \
  "$WIN_BACK $WIN_FRONT" \
  'fill #202020 stroke none rectangle 4,11 10,12' \
  'fill none stroke #202020 rectangle 3,3 12,12 fill #202020 stroke none rectangle 3,3 12,5' \
  'fill none stroke #202020 line 4,4 11,11 line 5,4 12,11 line 11,4 4,11 line 12,4 5,11'

# Bitmap 9104, the tab groups' commands New Horizontal Tab Group (a window
# split into an upper and a lower group) and New Vertical Tab Group (split
# into a left and a right one), 16x16 each on green, the mask colour the tab
# client gives them.
GROUPS_WIN='fill white stroke #404040 rectangle 1,2 14,13 fill #2D5FB4 stroke none rectangle 2,3 13,4'
glyphs qx-tab-groups.bmp 16x16 '#00FF00' \
  "$GROUPS_WIN fill #F0C040 stroke none rectangle 2,9 13,12 stroke #404040 line 1,8 14,8" \
  "$GROUPS_WIN fill #F0C040 stroke none rectangle 8,5 13,12 stroke #404040 line 7,4 7,13"

# ---------------------------------------------------------------------------
# The docking guides: the parts of the compass shown over a container while a
# pane is dragged, and of the four guides at the layout's edges. Every part
# lies on green (#00FF00), the transparent colour, inside its source
# rectangle with a 1-pixel green margin; no part has a pure black pixel (the
# guides' shapes and hit tests count the non-black pixels).
GREEN='#00FF00'

# arrow DIR ACROSS DEPTH FILL EDGE MARK: a button with an arrow pointing
# DIR (up, down, left or right), drawn for "up" in a box ACROSS wide and
# DEPTH high and turned: a left or right part is DEPTH wide and ACROSS high.
arrow() {
  local dir=$1 a=$2 d=$3 cx=$(($2 / 2))
  # pt X Y: an "up" point in the part's own coordinates.
  pt() {
    case $dir in
      up) echo "$1,$2" ;;
      down) echo "$1,$((d - 1 - $2))" ;;
      left) echo "$2,$1" ;;
      right) echo "$((d - 1 - $2)),$1" ;;
    esac
  }
  local p1 p2 x0 y0 x1 y1
  p1=$(pt 2 1) p2=$(pt $((a - 3)) $((d - 2)))
  x0=${p1%,*} y0=${p1#*,} x1=${p2%,*} y1=${p2#*,}
  ((x0 > x1)) && { local t=$x0; x0=$x1; x1=$t; }
  ((y0 > y1)) && { local t=$y0; y0=$y1; y1=$t; }
  echo "fill $4 stroke $5 roundrectangle $x0,$y0 $x1,$y1 3,3 fill $6 stroke none polygon" \
    "$(pt $cx 5) $(pt $((cx + 7)) 12) $(pt $((cx + 3)) 12) $(pt $((cx + 3)) $((d - 7)))" \
    "$(pt $((cx - 3)) $((d - 7))) $(pt $((cx - 3)) 12) $(pt $((cx - 7)) 12)"
}
# centre SIZE FILL EDGE ARROW: the square button that joins the panes as a
# tab: a page with a tab on its top edge.
centre() {
  local n=$1 e=$(($1 - 3))
  echo "fill $2 stroke $3 roundrectangle 1,1 $((n - 2)),$((n - 2)) 3,3" \
    "fill white stroke $4 rectangle 7,11 $e,$e fill $4 stroke none rectangle 7,8 $((n / 2)),11"
}
# at X Y MVG: a part drawn with its top-left corner at X,Y.
at() { echo "push graphic-context translate $1,$2 $3 pop graphic-context"; }
# canvas OUT SIZE MVG...: the parts on one green 24-bit bitmap.
canvas() {
  local out=$1 size=$2; shift 2
  convert -size "$size" "xc:$GREEN" +antialias -draw "$*" -alpha off -type TrueColor "BMP3:$out"
}

# Bitmap 9451, the compass's backdrop (style 0), 43x43.
canvas qx-guide-back.bmp 43x43 'fill #C4C8D4 stroke #606878 roundrectangle 0,0 42,42 7,7'

# Bitmaps 9452-9454, the parts of style 0 for the blue, olive and silver
# schemes, 120x109: top, bottom and centre, then right and left, on the
# first rows; the hot parts below and beside them.
guide0() {
  local out=$1 fill=$2 edge=$3 mark=$4 hot=$5
  canvas "$out" 120x109 \
    "$(at 0 0 "$(arrow up 43 30 "$fill" "$edge" "$mark")")" \
    "$(at 43 0 "$(arrow down 43 30 "$fill" "$edge" "$mark")")" \
    "$(at 86 0 "$(centre 33 "$fill" "$edge" "$mark")")" \
    "$(at 0 33 "$(arrow right 43 30 "$fill" "$edge" "$mark")")" \
    "$(at 30 33 "$(arrow left 43 30 "$fill" "$edge" "$mark")")" \
    "$(at 60 33 "$(arrow right 43 30 "$hot" "$edge" "$mark")")" \
    "$(at 90 33 "$(arrow left 43 30 "$hot" "$edge" "$mark")")" \
    "$(at 0 76 "$(arrow up 43 30 "$hot" "$edge" "$mark")")" \
    "$(at 43 76 "$(arrow down 43 30 "$hot" "$edge" "$mark")")" \
    "$(at 86 76 "$(centre 33 "$hot" "$edge" "$mark")")"
}
guide0 qx-guide-parts.bmp '#E4ECF8' '#44609C' '#2D5FB4' '#FFD27A'
guide0 qx-guide-parts-olive.bmp '#EEF0DC' '#64783C' '#587A30' '#FFD27A'
guide0 qx-guide-parts-silver.bmp '#F0F0F4' '#707088' '#58587C' '#FFD27A'

# Bitmap 9455, every part of style 1, 161x122: the compass's arms, centre
# and backdrop (normal and hot), and the four edge guides (normal and hot).
G1_FILL='#F4F4F4' G1_EDGE='#7A8AA8' G1_MARK='#3C64B4' G1_HOT='#FFE0A0'
g1() { arrow "$1" "$2" "$3" "$4" "$G1_EDGE" "$G1_MARK"; }
canvas qx-guide-vs.bmp 161x122 \
  "$(at 61 29 "$(g1 up 29 30 "$G1_FILL")")" "$(at 61 90 "$(g1 up 29 30 "$G1_HOT")")" \
  "$(at 90 30 "$(g1 left 29 30 "$G1_FILL")")" "$(at 90 91 "$(g1 left 29 30 "$G1_HOT")")" \
  "$(at 91 0 "$(g1 down 29 30 "$G1_FILL")")" "$(at 91 61 "$(g1 down 29 30 "$G1_HOT")")" \
  "$(at 62 0 "$(g1 right 29 30 "$G1_FILL")")" "$(at 62 61 "$(g1 right 29 30 "$G1_HOT")")" \
  "$(at 0 29 "$(g1 up 29 32 "$G1_FILL")")" "$(at 0 90 "$(g1 up 29 32 "$G1_HOT")")" \
  "$(at 29 32 "$(g1 left 29 32 "$G1_FILL")")" "$(at 29 93 "$(g1 left 29 32 "$G1_HOT")")" \
  "$(at 32 0 "$(g1 down 29 32 "$G1_FILL")")" "$(at 32 61 "$(g1 down 29 32 "$G1_HOT")")" \
  "$(at 0 0 "$(g1 right 29 32 "$G1_FILL")")" "$(at 0 61 "$(g1 right 29 32 "$G1_HOT")")" \
  "$(at 120 0 "fill #D0D4E0 stroke #7A8AA8 roundrectangle 0,0 40,40 6,6")" \
  "$(at 120 41 "fill #FFE8B8 stroke #7A8AA8 roundrectangle 0,0 40,40 6,6")" \
  "$(at 120 82 "$(centre 28 "$G1_FILL" "$G1_EDGE" "$G1_MARK")")"

echo "make-images: done"
