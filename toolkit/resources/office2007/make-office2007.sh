#!/bin/bash
# Draws the Office 2007 look's theme module: the theme text
# (office2007blue.ini) and its images (*.png with alpha, *.bmp keyed on
# magenta), and writes office2007.rc, which toolkit.rc includes. The
# generated files are kept in the tree; a re-run gives the same bytes.
# Usage: toolkit/resources/office2007/make-office2007.sh
#
# One table (IMAGES below) drives the images: name, state count, state width
# and height, the sizing margins the painters draw it with (kept here as the
# reader's reference), the format, and one drawing per state. States are
# stacked top to bottom with -append. A drawing is
#   -                       an empty state (transparent, or magenta when keyed)
#   g TOP BOTTOM BORDER R   a vertical gradient in a rectangle with corner
#                           radius R and a one-pixel border (BORDER may be none)
#   ... ; MVG               any of those with an MVG drawing (in pixels) on top
# A drawing that is only "; MVG" draws on the empty state.
set -euo pipefail
cd "$(dirname "$0")"
source ../../../scripts/images-lib.sh

# ---------------------------------------------------------------------------
# Palette (our own blue scheme).
HOT='g #FFF8D9 #FFD76B #DDCF9B 2'
PRESSED='g #F9B672 #FDA14D #8C7E60 2'
CHECKED='g #FDDB9E #FBC26F #C2A260 2'
HOTCHECKED='g #FCC788 #F9A951 #8C7E60 2'
POPPED='g #E9F1FB #C9DCF3 #8BA6C9 2'
DISABLEDSEL='g #F4F4F4 #E2E2E2 #BDBDBD 2'
FACE='g #E4EEFB #C5DBF7 none 0'
CAPTION='g #E4EDF8 #BFD4EE none 0'
CAPTIONOFF='g #EFF3F8 #DCE4EE none 0'

# The seven context colours (BLUE, YELLOW, GREEN, RED, PURPLE, CYAN, ORANGE).
declare -A CTX=([BLUE]='#B9D3F4 #6C9BD9' [YELLOW]='#FBEBA5 #E9C53F' [GREEN]='#CBE7B5 #7DBB4E'
  [RED]='#F6C1BE #DC6C65' [PURPLE]='#DCC8EC #9D74C6' [CYAN]='#BFE6EE #58B3C8' [ORANGE]='#FBD3AE #EE9440')
CTXNAMES='BLUE YELLOW GREEN RED PURPLE CYAN ORANGE'

# Caption-button glyphs, drawn in pixels for a cell of N x N.
glyph_close() { local n=$1 c=$2 e=$(($1 - 2)); echo "stroke $c line 1,1 $e,$e line 2,1 $((e + 1)),$e line $e,1 1,$e line $((e + 1)),1 2,$e"; }
glyph_min() { local n=$1 c=$2; echo "fill $c stroke none rectangle 1,$((n - 4)) $((n - 2)),$((n - 3))"; }
glyph_max() { local n=$1 c=$2; echo "fill none stroke $c rectangle 1,1 $((n - 2)),$((n - 2)) line 1,2 $((n - 2)),2"; }
glyph_restore() {
  local n=$1 c=$2 h=$(($1 * 2 / 3))
  echo "fill none stroke $c rectangle $((n - h - 1)),1 $((n - 2)),$((h)) rectangle 1,$((n - h - 1)) $((h)),$((n - 2))"
}

# ---------------------------------------------------------------------------
# cell W H FMT OUT DRAWING: one state.
cell() {
  local w=$1 h=$2 fmt=$3 out=$4 spec=$5
  local bg=none aa=-antialias
  [ "$fmt" = bmp ] && { bg="$MAGENTA"; aa=+antialias; }
  local shape=${spec%%;*} mvg=''
  [[ $spec == *';'* ]] && mvg=${spec#*;}
  local args=(-size "${w}x${h}" "xc:$bg")
  if [[ $shape == g* ]]; then
    local _ top bot border r
    read -r _ top bot border r <<<"$shape"
    local rect="roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r"
    [ "$r" = 0 ] && rect="rectangle 0,0 $((w - 1)),$((h - 1))"
    convert -size "${w}x${h}" "gradient:$top-$bot" \
      \( -size "${w}x${h}" xc:black "$aa" -fill white -draw "$rect" \) \
      -alpha off -compose CopyOpacity -composite "$tmp/shape.png"
    [ "$border" != none ] && convert "$tmp/shape.png" "$aa" -fill none -stroke "$border" \
      -draw "$rect" "$tmp/shape.png"
    args=(-size "${w}x${h}" "xc:$bg" "$tmp/shape.png" -compose over -composite)
  fi
  if [ -n "${mvg// /}" ]; then
    convert "${args[@]}" "$aa" -draw "$mvg" "$out"
  else
    convert "${args[@]}" "$out"
  fi
}

# image NAME STATES WxH MARGINS FMT DRAWING...: one image, its states stacked
# (the last drawing repeats when fewer are given).
RC=()
image() {
  local name=$1 states=$2 size=$3 margins=$4 fmt=$5; shift 5
  local w=${size%x*} h=${size#*x} files=() i spec
  local drawings=("$@")
  for ((i = 0; i < states; i++)); do
    spec=${drawings[$((i < ${#drawings[@]} ? i : ${#drawings[@]} - 1))]}
    cell "$w" "$h" "$fmt" "$tmp/c$i.png" "$spec"
    files+=("$tmp/c$i.png")
  done
  local file
  file=$(tr 'A-Z' 'a-z' <<<"$name").$fmt
  if [ "$fmt" = bmp ]; then
    convert "${files[@]}" -append +repage -background "$MAGENTA" -flatten -alpha off -type TrueColor "BMP3:$file"
    RC+=("$(printf '%-48s BITMAP "office2007/%s"' "$name" "$file")")
  else
    convert "${files[@]}" -append +repage -strip -define png:exclude-chunks=date,time "PNG32:$file"
    RC+=("$(printf '%-48s PNG    "office2007/%s"' "$name" "$file")")
  fi
  echo "$name $states $size $margins $fmt" >>"$tmp/table.txt"
}

rm -f ./*.png ./*.bmp
: >"$tmp/table.txt"

# ---------------------------------------------------------------------------
# The table. NAME STATES WxH MARGINS(l,t,r,b) FMT DRAWINGS...

# Frame: caption band pieces (active, inactive), bottom corners, caption
# buttons, glyphs (13, 17, 23 for buttons of <= 14, 15-26, >= 27 pixels),
# system button, workspace.
image FRAMETOPLEFT 2 8x30 0,5,0,3 png 'g #E4EDF8 #BFD4EE #6591CD 4' 'g #EFF3F8 #DCE4EE #A5B9D2 4'
image FRAMETOPCENTER 2 8x30 0,5,0,3 png "$CAPTION; stroke #6591CD line 0,0 7,0" "$CAPTIONOFF; stroke #A5B9D2 line 0,0 7,0"
image FRAMETOPRIGHT 2 8x30 0,5,0,3 png 'g #E4EDF8 #BFD4EE #6591CD 4' 'g #EFF3F8 #DCE4EE #A5B9D2 4'
image FRAMEBOTTOMLEFT 2 8x8 0,0,0,0 bmp '; fill #C5DBF7 stroke #6591CD rectangle 0,-1 8,7' '; fill #DCE4EE stroke #A5B9D2 rectangle 0,-1 8,7'
image FRAMEBOTTOMRIGHT 2 8x8 0,0,0,0 bmp '; fill #C5DBF7 stroke #6591CD rectangle -1,-1 7,7' '; fill #DCE4EE stroke #A5B9D2 rectangle -1,-1 7,7'
image FRAMECAPTIONBUTTON 2 25x21 3,3,3,3 bmp "$HOT" "$PRESSED"
for n in 13 17 23; do
  g=$((n - 4))
  for kind in CLOSE MINIMIZE MAXIMIZE RESTORE; do
    fn=glyph_$(tr 'A-Z' 'a-z' <<<"$kind"); fn=${fn/minimize/min}; fn=${fn/maximize/max}
    image "FRAMECAPTION$kind$n" 5 "${g}x${g}" 0,0,0,0 bmp \
      "; $($fn $g '#2D4F80')" "; $($fn $g '#1B3B66')" "; $($fn $g '#102848')" "; $($fn $g '#8DA2BE')" "; $($fn $g '#B0B0B0')"
  done
done
image FRAMESYSTEMBUTTON 3 38x38 0,0,0,0 png 'g #DCE8F8 #8EB1E0 #5C84BE 18' 'g #FFF1C8 #FFC24D #C49A3A 18' 'g #FBC98C #F0902F #A5681F 18'
image FRAMESYSTEMBUTTON52 3 52x52 0,0,0,0 png 'g #DCE8F8 #8EB1E0 #5C84BE 25' 'g #FFF1C8 #FFC24D #C49A3A 25' 'g #FBC98C #F0902F #A5681F 25'
image WORKSPACETOPLEFT 1 48x24 47,0,0,0 png 'g #A9C4E8 #8FB0DC none 0; stroke #7FA0CF line 0,0 47,0'

# Status bar.
image STATUSBARLIGHT 1 10x22 0,0,0,0 png 'g #DDE8F7 #BBD0ED none 0; stroke #86A6D3 line 0,0 9,0'
image STATUSBARDARK 1 10x22 0,0,0,0 png 'g #BBD0ED #9CB8E0 none 0; stroke #86A6D3 line 0,0 9,0'
image STATUSBARDEVIDER 1 4x22 0,0,0,0 png '; stroke #86A6D3 line 1,0 1,21 stroke #F2F7FD line 2,0 2,21'
image STATUSBARSEPARATOR 1 2x18 0,2,0,2 png '; stroke #86A6D3 line 0,0 0,17 stroke #F2F7FD line 1,0 1,17'
image STATUSBARGRIPPER 1 12x12 0,0,0,0 bmp '; fill #FFFFFF stroke none rectangle 10,10 11,11 rectangle 6,10 7,11 rectangle 2,10 3,11 rectangle 10,6 11,7 rectangle 6,6 7,7 rectangle 10,2 11,3 fill #6F8DB8 rectangle 9,9 10,10 rectangle 5,9 6,10 rectangle 1,9 2,10 rectangle 9,5 10,6 rectangle 5,5 6,6 rectangle 9,1 10,2'

# Toolbars and buttons. Button states 0 hot, 1 pressed, 2 checked, 3 hot checked.
image TOOLBARBUTTONS22 4 22x22 8,8,8,8 png "$HOT" "$PRESSED" "$CHECKED" "$HOTCHECKED"
image TOOLBARBUTTONS50 4 50x50 8,8,8,8 png "$HOT" "$PRESSED" "$CHECKED" "$HOTCHECKED"
# Split buttons: main part 6 states, drop part 5 (the specials one more,
# a leading normal state).
SPLITMAIN=("$HOT" "$PRESSED" "$CHECKED" "$HOTCHECKED" "$DISABLEDSEL" "$POPPED")
SPLITDROP=("$PRESSED" "$CHECKED" "$POPPED" "$DISABLEDSEL" "$HOT")
image TOOLBARBUTTONSSPLIT22 6 22x22 2,2,2,2 bmp "${SPLITMAIN[@]}"
image TOOLBARBUTTONSSPLITDROPDOWN22 5 12x22 2,2,2,2 bmp "${SPLITDROP[@]}"
image TOOLBARBUTTONSSPLIT50 6 50x50 2,2,2,2 bmp "${SPLITMAIN[@]}"
image TOOLBARBUTTONSSPLITDROPDOWN50 5 50x27 2,2,2,2 bmp "${SPLITDROP[@]}"
NORMAL='g #F4F8FD #D9E6F7 #A9BFDC 2'
image TOOLBARBUTTONSSPECIALSPLITLEFT 7 22x22 2,2,2,2 bmp "$NORMAL" "${SPLITMAIN[@]}"
image TOOLBARBUTTONSSPECIALSPLITCENTER 7 22x22 2,2,2,2 bmp "$NORMAL" "${SPLITMAIN[@]}"
image TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT 6 12x22 2,2,2,2 bmp "$NORMAL" "${SPLITDROP[@]}"
image TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER 6 12x22 2,2,2,2 bmp "$NORMAL" "${SPLITDROP[@]}"
# Grouped buttons: 22 x 22 cells, 0 normal, 1 hot, 2 pressed, 3 checked, 4 hot checked.
for part in SINGLE LEFT RIGHT CENTER; do
  image "TOOLBARBUTTONSSPECIAL$part" 5 22x22 2,2,2,2 bmp "$NORMAL" "$HOT" "$PRESSED" "$CHECKED" "$HOTCHECKED"
done
# Marks: 13 x 13. Check boxes: normal, hot, pressed, disabled; + checked, + indeterminate.
BOX=('g #FFFFFF #E8EEF6 #8EA4C1 0' 'g #FFFBEA #FFE9A8 #D5B25B 0' 'g #FCE2BC #F8BE7C #B58A3E 0' 'g #F4F4F4 #F4F4F4 #C0C0C0 0')
TICK='stroke #21407A stroke-width 2 polyline 3,6 5,9 10,3'
BLOCK='fill #3C63A5 stroke none rectangle 3,3 9,9'
image TOOLBARBUTTONCHECKBOX 12 13x13 0,0,0,0 bmp "${BOX[@]}" \
  "${BOX[0]}; $TICK" "${BOX[1]}; $TICK" "${BOX[2]}; $TICK" "${BOX[3]}; ${TICK/21407A/A0A0A0}" \
  "${BOX[0]}; $BLOCK" "${BOX[1]}; $BLOCK" "${BOX[2]}; $BLOCK" "${BOX[3]}; ${BLOCK/3C63A5/A0A0A0}"
RING=('g #FFFFFF #E8EEF6 #8EA4C1 6' 'g #FFFBEA #FFE9A8 #D5B25B 6' 'g #FCE2BC #F8BE7C #B58A3E 6' 'g #F4F4F4 #F4F4F4 #C0C0C0 6')
DOT='fill #21407A stroke none circle 6,6 6,8'
image TOOLBARBUTTONRADIOBUTTON 8 13x13 0,0,0,0 bmp "${RING[@]}" \
  "${RING[0]}; $DOT" "${RING[1]}; $DOT" "${RING[2]}; $DOT" "${RING[3]}; ${DOT/21407A/A0A0A0}"
ARROW='fill #15428B stroke none polygon 0,1 4,1 2,3'
image TOOLBARBUTTONDROPDOWNGLYPH 4 5x4 0,0,0,0 bmp "; $ARROW" "; ${ARROW/15428B/000000}" "; ${ARROW/15428B/FFFFFF}" "; ${ARROW/15428B/A0A0A0}"
image TOOLBARBUTTONSCOMBODROPDOWN 5 14x20 2,2,2,2 bmp "$NORMAL" "$HOT" "$HOT" "$PRESSED" "$DISABLEDSEL"
SPINUP='fill #15428B stroke none polygon 5,6 11,6 8,3'
SPINDN='fill #15428B stroke none polygon 5,3 11,3 8,6'
image TOOLBARBUTTONSPIN 10 17x10 0,0,0,0 bmp "$NORMAL; $SPINUP" "$HOT; $SPINUP" "$HOT; $SPINUP" "$PRESSED; $SPINUP" "; ${SPINUP/15428B/A0A0A0}" \
  "$NORMAL; $SPINDN" "$HOT; $SPINDN" "$HOT; $SPINDN" "$PRESSED; $SPINDN" "; ${SPINDN/15428B/A0A0A0}"
image TOOLBAREXPANDBUTTONHORIZONTAL 3 12x24 3,3,3,3 png 'g #C5DBF7 #7DA2CE none 3' 'g #FFF1C8 #FFC24D none 3' 'g #FBC98C #F0902F none 3'
image TOOLBAREXPANDBUTTONVERTICAL 3 24x12 3,3,3,3 png 'g #C5DBF7 #7DA2CE none 3' 'g #FFF1C8 #FFC24D none 3' 'g #FBC98C #F0902F none 3'
image TOOLBARFACEHORIZONTAL 1 32x26 5,5,5,5 png 'g #E3EFFF #AFD2FF #6F9DD9 3'
image TOOLBARFACEVERTICAL 1 26x32 5,5,5,5 png 'g #E3EFFF #AFD2FF #6F9DD9 3'

# Popups and menus.
image POPUPBARFRAME 1 24x24 4,4,4,4 png '; fill #FAFAFA stroke #868686 rectangle 0,0 23,23'
image MOREPOPUPBARFRAME 1 24x24 4,4,4,4 png '; fill #DCE8F8 stroke #6591CD rectangle 0,0 23,23'
image POPUPBARRESIZEGRIPPERFACE 1 12x8 1,1,1,1 bmp 'g #EEF3FA #D6E3F3 #A9BFDC 0'
image POPUPBARRESIZEGRIPPERHEIGHT 1 8x3 0,0,0,0 bmp '; fill #6F8DB8 stroke none rectangle 0,1 1,2 rectangle 3,1 4,2 rectangle 6,1 7,2'
image POPUPBARRESIZEGRIPPERWIDTH 1 8x8 0,0,0,0 bmp '; fill #6F8DB8 stroke none rectangle 6,0 7,1 rectangle 3,3 4,4 rectangle 6,3 7,4 rectangle 0,6 1,7 rectangle 3,6 4,7 rectangle 6,6 7,7'
image MENUCHECKEDITEM 2 22x22 4,4,4,4 png "$CHECKED" "$DISABLEDSEL"
image MENUSELECTEDITEM22 1 24x22 4,4,4,4 png "$HOT"
image MENUSELECTEDITEM54 1 24x54 4,4,4,4 png "$HOT"
image MENUSELECTEDDISABLEDITEM22 1 24x22 4,4,4,4 png "$DISABLEDSEL"
image MENUSELECTEDDISABLEDITEM54 1 24x54 4,4,4,4 png "$DISABLEDSEL"
image MENUSPLITDROPDOWN 3 14x22 2,2,2,2 bmp '; stroke #C5C5C5 line 0,3 0,18' "$HOT" "$PRESSED"
image MENUPOPUPGLYPH 2 4x7 0,0,0,0 bmp '; fill #000000 stroke none polygon 0,0 3,3 0,6' '; fill #A0A0A0 stroke none polygon 0,0 3,3 0,6'

# Ribbon: group band, groups, tabs, quick access, system menu, scroll buttons.
image RIBBONGROUPS 1 24x24 8,8,8,8 png 'g #DBE8F7 #C1D8F3 #8DB2E3 3'
image RIBBONGROUPCLIENT 2 20x20 5,5,5,5 png 'g #F1F6FD #D5E4F7 #A9C3E5 3' 'g #F9FBFE #E3EDFA #9EBCE3 3'
image RIBBONGROUPCAPTION 2 20x17 5,5,5,5 png 'g #C2D9F1 #B4CFEE #A9C3E5 3' 'g #CCE0F6 #BFD7F3 #9EBCE3 3'
image RIBBONGROUPBUTTON 3 20x40 5,5,5,5 png 'g #DCEAFB #C0D6F2 #8DB2E3 3' 'g #FFF8D9 #FFD76B #DDCF9B 3' 'g #F9B672 #FDA14D #8C7E60 3'
image RIBBONGROUPBUTTONICON 1 32x32 0,0,0,0 png 'g #FFFFFF #C9DCF3 #8BA6C9 4'
image RIBBONGROUPQUICKACCESS 3 22x22 2,2,2,2 bmp "$NORMAL" "$HOT" "$PRESSED"
image RIBBONOPTIONBUTTON 4 15x14 3,2,2,2 bmp '; stroke #5E7FAF line 4,4 10,10 line 7,10 10,10 line 10,7 10,10' \
  "$HOT; stroke #5E7FAF line 4,4 10,10" "$PRESSED; stroke #5E7FAF line 4,4 10,10" '; stroke #A0A0A0 line 4,4 10,10'
image RIBBONTAB 6 30x23 5,5,5,5 bmp - 'g #E8F1FC #CFE0F5 #A9C3E5 3' 'g #FFF1C8 #FFC24D #C49A3A 3' \
  'g #FFFFFF #EAF2FC #8DB2E3 3' 'g #FFFFFF #FFF3D6 #C49A3A 3' 'g #FFFFFF #E3EDFA #6F9DD9 3'
image RIBBONTABSEPARATOR 1 1x20 0,0,0,0 png '; stroke #A9C3E5 line 0,2 0,17'
image RIBBONQUICKACCESSAREA 1 40x26 16,3,16,3 png 'g #DCE8F8 #B7CDEB #8DB2E3 10'
image RIBBONQUICKACCESSAREADWM 1 40x26 16,3,16,3 png 'g #E9F1FB #CADBF1 #8DB2E3 10'
image RIBBONQUICKACCESSFRAME 1 20x26 3,3,3,3 png 'g #DCE8F8 #B7CDEB #8DB2E3 2'
image RIBBONQUICKACCESSBUTTON 4 22x22 2,2,2,2 bmp - "$HOT" "$PRESSED" "$DISABLEDSEL"
image RIBBONQUICKACCESSMORE 4 13x22 2,2,2,2 bmp "; $ARROW" "$HOT; fill #15428B stroke none polygon 4,10 8,10 6,12" "$PRESSED; fill #15428B stroke none polygon 4,10 8,10 6,12" -
image RIBBONGROUPSSCROLLLEFT 3 12x30 4,6,3,6 bmp "$NORMAL" "$HOT" "$PRESSED"
image RIBBONGROUPSSCROLLRIGHT 3 12x30 4,6,3,6 bmp "$NORMAL" "$HOT" "$PRESSED"
image RIBBONGROUPSSCROLLLEFTGLYPH 3 4x7 0,0,0,0 bmp '; fill #15428B stroke none polygon 3,0 0,3 3,6'
image RIBBONGROUPSSCROLLRIGHTGLYPH 3 4x7 0,0,0,0 bmp '; fill #15428B stroke none polygon 0,0 3,3 0,6'
image RIBBONSYSTEMMENU 1 40x60 6,18,6,29 png '; fill #C9DCF3 stroke #6591CD rectangle 0,0 39,59 fill #FFFFFF stroke #A9C3E5 rectangle 6,18 33,30'
image RIBBONSYSTEMMENUBUTTON 2 22x22 2,2,2,2 bmp "$NORMAL" "$HOT"
for c in $CTXNAMES; do
  read -r light dark <<<"${CTX[$c]}"
  image "CONTEXTTAB$c" 5 30x23 5,5,5,5 png - "g #FFFFFF $light $dark 3" "g #FFFFFF $light $dark 3" "g #FFFFFF #FFFFFF $dark 3" "g #FFFFFF $light #C49A3A 3"
  image "CONTEXTTAB${c}CLIENT" 1 24x24 8,8,8,8 png "g #FFFFFF $light $dark 3"
  image "CONTEXTTAB${c}GROUPBUTTON" 3 20x40 5,5,5,5 png "g $light $dark $dark 3" "$HOT" "$PRESSED"
  image "CONTEXTTAB${c}HEADER" 1 20x20 1,1,1,1 png "g $light $dark $dark 0"
done
image CONTEXTTABGROUPCLIENT 2 20x20 5,5,5,5 png 'g #FFFFFF #EEF4FB #A9C3E5 3' 'g #FFFFFF #F7FAFD #9EBCE3 3'
image CONTEXTTABGROUPCAPTION 2 20x17 5,5,5,5 png 'g #DCE8F8 #CADBF1 #A9C3E5 3' 'g #E6EFFA #D6E4F5 #9EBCE3 3'
image CONTEXTTABSEPARATOR 1 1x20 0,0,0,0 png '; stroke #8DB2E3 line 0,0 0,19'

# Galleries: scroll and popup buttons (5 states: normal, other part hot,
# hot, pressed, disabled), scroll bars, glyph cells (9 x 9, 16 of them).
GB=("$NORMAL" 'g #F7FAFE #E3EDFA #A9C3E5 0' "$HOT" "$PRESSED" 'g #F4F4F4 #F4F4F4 #C8C8C8 0')
# gallery_button NAME WxH GLYPH: the five states, the glyph grey when disabled.
gallery_button() {
  local name=$1 size=$2 glyph=$3 states=() i
  for i in 0 1 2 3; do states+=("${GB[$i]}; fill #15428B stroke none $glyph"); done
  states+=("${GB[4]}; fill #A0A0A0 stroke none $glyph")
  image "$name" 5 "$size" 0,0,0,0 bmp "${states[@]}"
}
gallery_button CONTROLGALLERYUP 15x21 'polygon 5,12 9,12 7,10'
gallery_button CONTROLGALLERYDOWN 15x19 'polygon 5,8 9,8 7,10'
gallery_button CONTROLGALLERYPOPUP 15x20 'rectangle 4,7 10,7 polygon 4,10 10,10 7,13'
for dir in VERTICAL HORIZONTAL; do
  if [ $dir = VERTICAL ]; then track=17x30 arrows=17x17 thumb=15x20 grip=8x8; else track=30x17 arrows=17x17 thumb=20x15 grip=8x8; fi
  image "CONTROLGALLERYSCROLL${dir}LIGHT" 2 $track 0,0,0,0 png 'g #F5F8FC #E6EEF8 #C5D6EC 0' 'g #D6E3F3 #C6D8EF #A9C3E5 0'
  image "CONTROLGALLERYSCROLL${dir}DARK" 2 $track 0,0,0,0 png 'g #C6D9F2 #B2CCEE #8DB2E3 0' 'g #A9C3E5 #97B7E0 #6F9DD9 0'
  image "CONTROLGALLERYSCROLLARROWS${dir}LIGHT" 4 $arrows 2,2,2,2 png - 'g #FBFDFF #E3EDFA #A9C3E5 2' "$HOT" "$PRESSED"
  image "CONTROLGALLERYSCROLLARROWS${dir}DARK" 4 $arrows 2,2,2,2 png - 'g #E3EDFA #C6D8EF #8DB2E3 2' "$HOT" "$PRESSED"
  image "CONTROLGALLERYSCROLLTHUMB${dir}" 3 $thumb 2,2,2,2 png 'g #F4F8FD #CCDDF3 #8DB2E3 2' "$HOT" "$PRESSED"
  image "CONTROLGALLERYSCROLLTHUMBGRIPPER${dir}" 1 $grip 0,0,0,0 png '; stroke #6F8DB8 line 1,1 6,1 line 1,3 6,3 line 1,5 6,5'
done
# Arrow glyph cells 1-16: up (1 normal, 2 on a background, 3 pressed, 4
# disabled), down 5-8, left 9-12, right 13-16.
UPG='polygon 2,5 6,5 4,3'; DNG='polygon 2,3 6,3 4,5'; LFG='polygon 5,2 5,6 3,4'; RTG='polygon 3,2 3,6 5,4'
GC=()
for g in "$UPG" "$DNG" "$LFG" "$RTG"; do
  GC+=("; fill #4C607A stroke none $g" "; fill #15428B stroke none $g" "; fill #000000 stroke none $g" "; fill #B0B0B0 stroke none $g")
done
image CONTROLGALLERYSCROLLARROWGLYPHS 16 9x9 0,0,0,0 bmp "${GC[@]}"

# ---------------------------------------------------------------------------
# The theme text: UTF-16 LE without a byte-order mark, CR LF lines.
cat >"$tmp/theme.ini" <<'EOF'
; Quillmate's Office 2007 look: colours (R G B) by section and key, and the
; names of the images where they differ from their resources.
[Ribbon]
RibbonFace = 191 219 255
TabNormalText = 21 66 139
TabSelectedText = 21 66 139
GroupCaptionText = 62 106 170
GroupClientText = 21 66 139
MenuPopupText = 0 0 0
ControlHighlightText = 0 0 0
RibbonText = 21 66 139
ControlEditNormal = 234 242 251
MinimizedFrameEdgeHighLight = 255 255 255
MinimizedFrameEdgeShadow = 141 178 227
RecentFileListBackground = 233 238 238
RecentFileListEdgeShadow = 197 197 197
RecentFileListEdgeHighLight = 245 245 245

[Window]
ButtonFace = 191 219 255
WindowFrame = 101 147 207
EdgeHighLightColor = 255 255 255
HighlightSelected = 255 231 162
HighlightSelectedBorder = 255 189 105
HighlightPressed = 251 140 60
HighlightPressedBorder = 251 140 60
HighlightChecked = 255 194 115
HighlightCheckedBorder = 255 171 63
HighlightSelectedDark = 255 215 107
HighlightSelectedLight = 255 248 217
HighlightCheckedDark = 251 194 111
HighlightCheckedLight = 253 219 158
HighlightPressedDark = 253 161 77
HighlightPressedLight = 249 182 114
BorderActive0 = 59 90 130
BorderActive1 = 192 211 235
BorderActive2 = 169 196 232
BorderActive3 = 191 219 255
BorderInactive0 = 138 160 191
BorderInactive1 = 220 229 240
BorderInactive2 = 210 222 238
BorderInactive3 = 215 228 242
CaptionTextActive = 62 106 170
CaptionTextActiveTitle = 105 112 121
CaptionTextInActive = 160 160 160
TooltipLight = 255 255 255
TooltipDark = 228 229 240
TooltipBorder = 118 118 118

[Toolbar]
DockBarFace = 191 219 255
ToolbarFaceDark = 175 210 255
ToolbarFaceLight = 227 239 255
ToolbarFaceShadow = 111 157 217
ToolbarFace = 191 219 255
ToolbarSeparator = 154 198 255
ToolbarGripper = 39 65 118
ControlToolbarExpandDark = 125 162 206
ControlToolbarExpandLight = 197 219 247
ControlHighlightPopupedDark = 201 220 243
ControlHighlightPopupedLight = 233 241 251
MenuPopupExpandedGripperDark = 197 219 247
MenuPopupExpandedGripperLight = 233 238 238
MenuPopupTearOffGripper = 101 147 207
MenuBarText = 21 66 139
MenuPopupBorder = 134 134 134
WindowFrame = 101 147 207
FloatingBarGripper = 101 147 207
FloatingBarGripperText = 255 255 255
FloatingBarBorder = 101 147 207
ControlDisabledIcon = 141 141 141
ControlDisabledIconDark = 120 120 120
ControlDisabledIconLight = 200 200 200
ControlLabel = 21 66 139
ControlEditBorder = 171 193 222
ControlGallerySelected = 255 255 255
ControlGalleryNormal = 234 242 251
ControlGalleryBorder = 171 193 222

[StatusBar]
StatusBarText = 21 66 139
StatusBarShadow = 134 166 211
StatusBarFaceTopDark = 199 218 243
StatusBarFaceTopLight = 221 232 247
StatusBarFaceBottomDark = 158 189 232
StatusBarFaceBottomLight = 183 206 239

[Workspace]
AppWorkspace = 144 176 220
WorkspaceClientTop = 143 176 220
WorkspaceClientMiddle = 169 196 232
WorkspaceClientBottom = 191 219 255

[DockingPane]
Splitter = 216 231 252
SplitterDark = 100 143 203
SplitterLight = 190 218 254
NormalCaptionDark = 175 210 255
NormalCaptionLight = 227 239 255
NormalCaptionText = 8 55 114
ActiveCaptionDark = 255 166 76
ActiveCaptionLight = 255 231 162
ActiveCaptionText = 8 55 114

[TabManager]
FrameBorder = 59 97 156
DarkShadow = 0 53 154
LightShadow = 117 166 241

[Images]
; Another name for the status bar divider image.
StatusBarDivider = STATUSBARDEVIDER
EOF
sed 's/$/\r/' "$tmp/theme.ini" | iconv -f UTF-8 -t UTF-16LE >office2007blue.ini

# ---------------------------------------------------------------------------
# The resource script and the table the tests read.
{
  echo '// The Office 2007 look: its theme text and images (drawn by'
  echo '// make-office2007.sh, which also writes this file). Included by toolkit.rc.'
  echo 'OFFICE2007BLUE_INI                               TEXTFILE "office2007/office2007blue.ini"'
  printf '%s\n' "${RC[@]}"
} >office2007.rc
{
  echo '# Written by make-office2007.sh: NAME STATES WIDTHxHEIGHT(one state) MARGINS FORMAT'
  cat "$tmp/table.txt"
} >images.txt
echo "office2007: $(wc -l <"$tmp/table.txt") images"
