#!/usr/bin/env bash
# Draws the launcher's artwork with ImageMagick (and python3 for the shadow's exact alpha ramp).
# Run by hand when the art changes; the results are committed, so builds never need this.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
skin=$root/skin
mkdir -p "$skin"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# One palette for both skins.
glyph='#8a919c'       # resting glyphs on white
glyph_hot='#2b313b'   # hovered glyphs
hover_bg='#e9edf2'    # hover plate behind minimise/close
danger='#e5484d'      # hovered close
accent='#008aff'      # confirm button (matches its text colour)
track='#dfe3e9'
fill_top='#4aa3ff'
fill_bottom='#1677e6'
warn='#f5a524'

# Drawn at 4x and scaled down, so strokes and circles come out anti-aliased.
draw() {  # size_w size_h out draw-args...
  local w=$1 h=$2 out=$3
  shift 3
  convert -size "$((w * 4))x$((h * 4))" xc:none "$@" -filter Lanczos -resize "${w}x${h}!" "PNG32:$out"
}

icon() {
  local size=$1 out=$2
  convert -size "${size}x${size}" xc:none \
    -fill '#1f6f8b' -draw "roundrectangle 0,0 $((size-1)),$((size-1)) $((size/5)),$((size/5))" \
    -fill '#f4d35e' -draw "polygon $((size/2)),$((size/6)) $((size*5/6)),$((size/2)) $((size/2)),$((size*5/6)) $((size/6)),$((size/2))" \
    -fill '#1f6f8b' -draw "circle $((size/2)),$((size/2)) $((size/2)),$((size*5/8))" \
    "PNG32:$out"
}

# Minimise: a short bar; close: a cross. Hover variants sit on a rounded plate.
minimise() {  # w h out plate glyph
  local w=$1 h=$2 out=$3 plate=$4 colour=$5 cx=$(( $1 * 2 )) cy=$(( $2 * 2 ))
  draw "$w" "$h" "$out" \
    -fill "$plate" -draw "roundrectangle 0,0 $((w*4-1)),$((h*4-1)) 12,12" \
    -fill "$colour" -draw "roundrectangle $((cx-20)),$((cy-3)) $((cx+20)),$((cy+3)) 3,3"
}
cross() {  # w h out plate glyph
  local w=$1 h=$2 out=$3 plate=$4 colour=$5 cx=$(( $1 * 2 )) cy=$(( $2 * 2 )) r=18
  draw "$w" "$h" "$out" \
    -fill "$plate" -draw "roundrectangle 0,0 $((w*4-1)),$((h*4-1)) 12,12" \
    -stroke "$colour" -strokewidth 6 -draw "line $((cx-r)),$((cy-r)) $((cx+r)),$((cy+r))" \
    -draw "line $((cx+r)),$((cy-r)) $((cx-r)),$((cy+r))"
}

# The window icon, resource 107.
for s in 16 24 32 48 64 256; do icon "$s" "$tmp/icon$s.png"; done
convert "$tmp"/icon{16,24,32,48,64,256}.png "$root/GameLoader/res/wxlm.ico"

# Main skin: download page buttons and progress bar (corners 3,3,3,3).
minimise 24 24 "$skin/gmin_normal.png" none "$glyph"
minimise 24 24 "$skin/gmin_hover.png" "$hover_bg" "$glyph_hot"
cross 28 30 "$skin/gclose_normal.png" none "$glyph"
cross 28 30 "$skin/gclose_hover.png" "$danger" white
draw 16 13 "$skin/gprogress_bk.png" -fill "$track" -draw "roundrectangle 0,0 63,51 12,12"
draw 16 13 "$skin/gprogress_fore.png" \
  \( -size 64x52 gradient:"$fill_top"-"$fill_bottom" \) \
  \( -size 64x52 xc:none -fill white -draw "roundrectangle 0,0 63,51 12,12" \) \
  -delete 0 -compose DstIn -composite

# Message box: close button, warning icon, confirm button.
cross 24 24 "$skin/btn_close.png" none "$glyph"
cross 24 24 "$skin/btn_close_hover.png" "$hover_bg" "$danger"
draw 60 60 "$skin/icon_warning.png" \
  -fill "$warn" -draw "circle 120,120 120,4" \
  -fill white -draw "roundrectangle 110,52 130,146 10,10" -draw "circle 120,178 120,166"
draw 96 32 "$skin/confirm.png" \
  -fill '#f2f8ff' -stroke "$accent" -strokewidth 4 -draw "roundrectangle 2,2 381,125 14,14"

# The drop shadow for shadowcorner 9,9,9,9: 24 x 24, the window covers the inner 6 x 6 (left
# transparent, the shadow draws it as a hole). Alpha falls off with the distance from the window's
# edge, so the stretched edge strips are constant along their length and the corners round off.
python3 - "$tmp/shadow.rgba" <<'EOF'
import math, sys
size, corner, darkest = 24, 9, 72
inner_lo, inner_hi = corner, size - corner - 1
out = bytearray()
for y in range(size):
    for x in range(size):
        dx = max(inner_lo - x, 0, x - inner_hi)
        dy = max(inner_lo - y, 0, y - inner_hi)
        d = math.hypot(dx, dy)
        if d == 0 or d >= corner:
            a = 0
        else:
            a = round(darkest * (1 - d / corner) ** 2)
        out += bytes((0, 0, 0, a))
open(sys.argv[1], 'wb').write(out)
EOF
convert -size 24x24 -depth 8 "rgba:$tmp/shadow.rgba" "PNG32:$skin/shadow.png"

# Smaller files, same pixels.
for f in "$skin"/*.png; do convert "$f" -strip -define png:compression-level=9 "PNG32:$f"; done
