# Shared by the images scripts (resources/res/make-images.sh for the editor,
# toolkit/resources/make-images.sh for the toolkit): the picture book and the
# helpers that turn its drawings into bitmaps, strips, icons and cursors with
# ImageMagick. Source it after changing into the folder the files go to:
#     source "$(dirname "$0")/<path>/scripts/images-lib.sh"
#
# Every picture of the book is one MVG drawing on a 16-unit grid, scaled to
# its size, so the 16x16 and 24x24 toolbar strips and the 16/32-pixel icons
# come from the same drawing. Small glyphs and cursors are drawn in pixels
# instead (glyphs, cursor), without smoothing, so their edges stay crisp
# against a mask colour. No drawing touches the top-left pixel of its cell:
# the program takes that pixel's colour as the transparent one.
command -v convert >/dev/null || { echo "images: ImageMagick 'convert' is needed" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

MAGENTA='#FF00FF'
SILVER='#C0C0C0'
FONT=DejaVu-Sans-Bold

# ---------------------------------------------------------------------------
# Pictures: one MVG drawing each, in 16-unit coordinates.
D_page='fill white stroke #505050 polygon 3,1 10,1 13,4 13,14 3,14 fill none polyline 10,1 10,4 13,4'
D_lines='stroke #6080C0 line 5,7 11,7 line 5,9 11,9 line 5,11 9,11'
D_folder='fill #F0D060 stroke #806020 polygon 1,4 5,4 6,5 13,5 13,13 1,13'
D_folder_open='fill #E8C850 stroke #806020 polygon 1,3 5,3 6,4 12,4 12,7 1,7 fill #F8E890 polygon 3,7 15,7 12,13 1,13'
D_glass='fill #C8E0F8 stroke #303030 circle 6,6 6,10 stroke #604020 line 9,9 14,14 line 10,9 14,13'
D_glass_small='fill #C8E0F8 stroke #303030 circle 5,5 5,8 stroke #604020 line 7,7 10,10'

declare -A G
G[new]="$D_page $D_lines fill #F0C000 stroke #A07000 circle 12,4 12,6"
G[open]="$D_folder_open"
G[save]='fill #3060C0 stroke #102060 rectangle 2,2 13,13 fill white stroke none rectangle 4,3 11,7 fill #909090 rectangle 5,10 10,13'
G[saveall]='fill #3060C0 stroke #102060 rectangle 1,1 9,9 rectangle 6,6 14,14 fill white stroke none rectangle 8,7 12,9 fill #909090 rectangle 9,12 11,14'
G[cut]='fill none stroke #303030 circle 5,12 5,14 circle 11,12 11,14 line 6,10 11,2 line 10,10 5,2'
G[copy]='fill white stroke #505050 rectangle 2,1 9,10 rectangle 6,5 13,14 stroke #6080C0 line 8,8 11,8 line 8,10 11,10 line 8,12 11,12'
G[paste]='fill #B08040 stroke #604020 rectangle 2,2 11,14 fill #909090 rectangle 5,1 8,3 fill white stroke #505050 rectangle 7,6 14,14'
G[undo]='fill none stroke #2050B0 polyline 13,12 13,7 11,5 5,5 polyline 13,13 14,7 11,4 5,4 fill #2050B0 polygon 1,5 5,1 5,8'
G[redo]='fill none stroke #2050B0 polyline 2,12 2,7 4,5 10,5 polyline 2,13 1,7 4,4 10,4 fill #2050B0 polygon 14,5 10,1 10,8'
G[find]="$D_glass"
G[findbox]='fill white stroke #505050 rectangle 1,4 14,12 fill none stroke #303030 circle 9,7 9,9 line 10,9 12,11 stroke #505050 line 3,6 3,10'
G[findnext]="$D_glass_small fill #20A020 stroke none polygon 9,11 12,11 12,9 15,12 12,15 12,13 9,13"
G[findprev]="$D_glass_small fill #20A020 stroke none polygon 15,11 12,11 12,9 9,12 12,15 12,13 15,13"
G[replace]="$D_glass_small fill #C02020 stroke none polygon 7,12 11,12 11,10 14,13 11,15 11,14 7,14"
G[findinfiles]="$D_folder fill #C8E0F8 stroke #303030 circle 10,8 10,10 stroke #604020 line 11,10 14,13"
G[print]='fill #909090 stroke #404040 rectangle 1,6 14,12 fill white rectangle 4,2 11,6 rectangle 4,10 11,14 fill #20A020 stroke none rectangle 11,7 12,8'
G[printpreview]="$D_page fill #C8E0F8 stroke #303030 circle 8,9 8,12 stroke #604020 line 10,11 13,14"
G[browser]='fill #4080D0 stroke #103060 circle 8,8 8,14 fill none stroke #A0D0FF line 2,8 14,8 line 8,2 8,14 ellipse 8,8 3,6 0,360'
G[bookmark]='fill #2080E0 stroke #104080 roundrectangle 3,3 12,12 3,3'
G[bmnext]='fill #2080E0 stroke #104080 roundrectangle 2,1 10,7 2,2 fill #20A020 stroke none polygon 4,9 10,9 7,14'
G[bmprev]='fill #2080E0 stroke #104080 roundrectangle 2,8 10,14 2,2 fill #20A020 stroke none polygon 4,6 10,6 7,1'
G[bmclear]='fill #2080E0 stroke #104080 roundrectangle 2,2 10,10 2,2 stroke #D02020 line 9,9 14,14 line 14,9 9,14'
G[wordwrap]='fill none stroke #303030 line 1,3 14,3 line 1,7 12,7 line 1,11 6,11 stroke #2050B0 polyline 12,7 14,9 12,11 9,11 fill #2050B0 polygon 10,9 8,11 10,13'
G[whitespace]='fill #303030 stroke none rectangle 2,7 3,8 rectangle 5,7 6,8 fill none stroke #2050B0 line 8,8 13,8 fill #2050B0 polygon 12,6 14,8 12,10'
G[lineendings]='fill #303030 stroke none circle 6,5 6,8 rectangle 7,2 8,14 rectangle 10,2 11,14 rectangle 6,2 12,3'
G[linenumbers]='fill none stroke #2050B0 line 2,3 3,3 line 2,7 3,7 line 2,11 3,11 stroke #505050 line 6,3 14,3 line 6,7 12,7 line 6,11 13,11 stroke #A0A0A0 line 4,1 4,14'
G[caretline]='fill #FFE070 stroke none rectangle 1,6 14,9 fill none stroke #505050 line 2,3 12,3 line 2,12 10,12 stroke #000000 line 6,5 6,10'
G[folding]='fill white stroke #505050 rectangle 2,2 8,8 line 4,5 6,5 line 5,4 5,6 line 5,8 5,14 line 5,14 12,14 line 5,11 12,11'
G[ruler]='fill #F8E8A0 stroke #806020 rectangle 1,5 14,11 line 3,5 3,8 line 5,5 5,7 line 7,5 7,8 line 9,5 9,7 line 11,5 11,8 line 13,5 13,7'
G[comment]='fill none stroke #208020 line 3,13 7,3 line 8,13 12,3 line 4,13 8,3 line 9,13 13,3'
G[uncomment]='fill none stroke #208020 line 2,13 6,3 line 7,13 11,3 stroke #D02020 line 10,10 14,14 line 14,10 10,14'
G[indentright]='fill none stroke #505050 line 7,3 14,3 line 7,7 14,7 line 7,11 14,11 line 1,14 14,14 fill #2050B0 stroke none polygon 1,4 5,7 1,10'
G[indentleft]='fill none stroke #505050 line 7,3 14,3 line 7,7 14,7 line 7,11 14,11 line 1,14 14,14 fill #2050B0 stroke none polygon 5,4 1,7 5,10'
G[uppercase]='fill none stroke #303030 line 2,14 6,2 line 3,14 7,2 line 6,2 10,14 line 7,2 11,14 line 4,9 9,9 fill #2050B0 stroke none polygon 11,6 15,6 13,2'
G[lowercase]='fill none stroke #303030 circle 6,10 6,13 line 9,7 9,14 fill #2050B0 stroke none polygon 11,10 15,10 13,14'
G[selectall]='fill #C8E0F8 stroke #2050B0 rectangle 2,2 13,13 fill none stroke #505050 line 4,5 11,5 line 4,8 11,8 line 4,11 9,11'
G[goto]='fill #2050B0 stroke none polygon 1,6 6,6 6,3 10,8 6,13 6,10 1,10 fill none stroke #505050 line 12,2 12,14 line 13,2 13,14'
G[spelling]='fill none stroke #303030 line 1,9 3,3 line 3,3 5,9 line 2,7 4,7 stroke #20A020 polyline 5,10 8,13 14,4 polyline 5,11 8,14 14,5'
G[tidy]='fill none stroke #E07000 polyline 6,3 2,8 6,13 polyline 10,3 14,8 10,13 stroke #505050 line 9,3 7,13'
G[xmlcheck]='fill none stroke #E07000 polyline 5,2 1,6 5,10 polyline 9,2 13,6 9,10 stroke #20A020 polyline 6,11 9,14 14,8'
G[record]='fill #D02020 stroke #801010 circle 8,8 8,13'
G[stop]='fill #2040A0 stroke #102060 rectangle 4,4 11,11'
G[play]='fill #20A020 stroke #106010 polygon 4,3 13,8 4,13'
G[stoptool]='fill #D02020 stroke #801010 polygon 5,1 10,1 14,5 14,10 10,14 5,14 1,10 1,5 fill white stroke none rectangle 4,7 11,8'
G[font]='fill none stroke #2050B0 line 2,14 6,2 line 3,14 7,2 line 6,2 10,14 line 7,2 11,14 line 4,9 9,9 stroke #303030 line 1,14 4,14 line 9,14 12,14'
G[help]="fill #2060C0 stroke #103070 circle 8,8 8,14 fill white stroke none font $FONT font-size 10 text 5,12 '?'"
G[about]="fill #2060C0 stroke #103070 circle 8,8 8,14 fill white stroke none rectangle 7,7 8,12 rectangle 7,4 8,5"
G[customize]='fill #909090 stroke #404040 circle 8,8 8,13 fill #606060 rectangle 7,1 8,3 rectangle 7,13 8,14 rectangle 1,7 3,8 rectangle 13,7 14,8 fill white circle 8,8 8,10'
G[properties]="$D_page fill #909090 stroke #404040 circle 11,11 11,14 fill white circle 11,11 11,12"
G[openhex]="$D_page fill #2050B0 stroke none rectangle 5,5 6,9 rectangle 8,5 10,6 rectangle 8,8 10,9 rectangle 9,6 9,8 rectangle 5,11 10,12"
G[compare]='fill white stroke #505050 rectangle 1,2 7,14 rectangle 8,2 14,14 stroke #F88576 line 2,5 6,5 line 2,9 6,9 stroke #C0B020 line 9,7 13,7 line 9,11 13,11'
G[fromtemplate]="$D_page $D_lines fill #E07000 stroke none polygon 9,10 14,10 14,15 9,15"
G[navback]='fill #20A020 stroke #106010 polygon 1,8 7,2 7,5 14,5 14,11 7,11 7,14'
G[navforward]='fill #20A020 stroke #106010 polygon 14,8 8,2 8,5 1,5 1,11 8,11 8,14'
G[proj]='fill none stroke #505050 line 4,4 4,13 line 4,8 8,8 line 4,13 8,13 fill #F0D060 stroke #806020 rectangle 2,1 6,4 rectangle 8,6 12,9 fill white stroke #505050 rectangle 8,11 12,14'
G[filexp]="$D_folder fill white stroke #505050 rectangle 6,7 11,13"
G[library]='fill #C03030 stroke #601010 rectangle 2,2 5,14 fill #3060C0 stroke #102060 rectangle 6,3 9,14 fill #30A030 stroke #105010 polygon 10,4 12,3 15,13 13,14'
G[listexp]='fill #2050B0 stroke none rectangle 2,3 3,4 rectangle 2,7 3,8 rectangle 2,11 3,12 fill none stroke #505050 line 5,3 13,3 line 5,7 13,7 line 5,11 11,11'
G[output]='fill #202020 stroke #505050 rectangle 1,2 14,13 fill none stroke #E0E0E0 line 3,5 5,7 line 5,7 3,9 line 7,9 10,9'
G[window]='fill white stroke #404040 rectangle 1,2 14,13 fill #2050B0 stroke none rectangle 2,3 13,4'
G[funclist]='fill none stroke #2050B0 polyline 5,2 3,3 3,7 1,8 3,9 3,13 5,14 polyline 10,2 12,3 12,7 14,8 12,9 12,13 10,14 stroke #505050 line 6,6 9,6 line 6,10 9,10'
G[addfolder]="$D_folder fill #20A020 stroke none rectangle 9,8 14,9 rectangle 11,6 12,11"
G[delfolder]="$D_folder stroke #D02020 line 9,7 14,12 line 14,7 9,12"
G[renfolder]="$D_folder fill #E07000 stroke #604020 polygon 8,12 13,5 15,7 10,14 8,14"
G[refresh]='fill none stroke #20A020 ellipse 8,8 5,5 30,320 ellipse 8,8 4,4 30,320 fill #20A020 stroke none polygon 10,1 14,4 10,7'
G[next]='fill #2050B0 stroke none polygon 4,3 12,8 4,13'
G[prev]='fill #2050B0 stroke none polygon 12,3 4,8 12,13'
G[onepage]="$D_page $D_lines"
G[twopage]='fill white stroke #505050 rectangle 1,2 7,13 rectangle 9,2 15,13 stroke #6080C0 line 2,5 6,5 line 2,8 6,8 line 10,5 14,5 line 10,8 14,8'
G[zoomin]="$D_glass stroke #303030 line 4,6 8,6 line 6,4 6,8"
G[zoomout]="$D_glass stroke #303030 line 4,6 8,6"
G[close]='fill none stroke #D02020 line 3,3 12,12 line 4,3 13,12 line 12,3 3,12 line 13,3 4,12'
G[textfile]="$D_page $D_lines"
G[binfile]="$D_page fill #2050B0 stroke none rectangle 5,5 6,12 rectangle 8,5 10,6 rectangle 8,11 10,12 rectangle 8,6 8,11 rectangle 10,6 10,11"
G[textfile_sel]="fill #3060C0 stroke none rectangle 1,1 14,14 $D_page $D_lines"
G[folder]="$D_folder"
G[folder_open]="$D_folder_open"

# draw NAME SIZE BACKGROUND OUT: one picture.
draw() {
  local name=$1 size=$2 bg=$3 out=$4 aa=${5:-+antialias}
  local mvg=${G[$name]:?unknown picture $name}
  local k; k=$(awk -v s="$size" 'BEGIN { printf "%g", s / 16 }')
  convert -size "${size}x${size}" "xc:$bg" "$aa" -draw "affine $k,0,0,$k,0,0 $mvg" "$out"
}

# strip OUT SIZE BACKGROUND NAME...: pictures side by side as a 24-bit BMP.
strip() {
  local out=$1 size=$2 bg=$3; shift 3
  local files=() i=0
  for name in "$@"; do
    draw "$name" "$size" "$bg" "$tmp/s$i.png"
    files+=("$tmp/s$i.png"); i=$((i + 1))
  done
  convert "${files[@]}" +append -alpha off -type TrueColor "BMP3:$out"
}

# icon OUT NAME...: an icon of 16 and 32 pixels on a transparent background,
# the pictures drawn over each other.
icon() {
  local out=$1; shift
  local sizes=()
  for size in 16 32; do
    local layers=()
    for name in "$@"; do
      draw "$name" "$size" none "$tmp/i$size-$name.png" -antialias
      layers+=("$tmp/i$size-$name.png")
    done
    convert "${layers[@]}" -background none -flatten "$tmp/icon$size.png"
    sizes+=("$tmp/icon$size.png")
  done
  convert "${sizes[@]}" "$out"
}

# glyphs OUT WIDTHxHEIGHT BACKGROUND MVG...: pictures drawn in pixels, one cell
# per drawing, side by side as a 24-bit BMP.
glyphs() {
  local out=$1 size=$2 bg=$3; shift 3
  local files=() i=0
  for mvg in "$@"; do
    convert -size "$size" "xc:$bg" +antialias -draw "$mvg" "$tmp/g$i.png"
    files+=("$tmp/g$i.png"); i=$((i + 1))
  done
  convert "${files[@]}" +append -alpha off -type TrueColor "BMP3:$out"
}

# poke FILE OFFSET WORD...: 16-bit little-endian words written over a file.
poke() {
  local file=$1 offset=$2 bytes=''; shift 2
  for w in "$@"; do bytes+=$(printf '\\x%02x\\x%02x' $((w & 255)) $((w >> 8))); done
  printf "$bytes" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
}

# cursor OUT HOTX HOTY MVG: a 32x32 cursor drawn in pixels on a transparent
# background, with its hot spot. ImageMagick writes an icon; the file becomes
# a cursor when its type word says 2 and its one directory entry carries the
# hot spot where an icon keeps its planes and bit count.
cursor() {
  local out=$1 x=$2 y=$3 mvg=$4
  convert -size 32x32 xc:none +antialias -draw "$mvg" -type TrueColorAlpha "ICO:$out"
  poke "$out" 2 2
  poke "$out" 10 "$x" "$y"
}
