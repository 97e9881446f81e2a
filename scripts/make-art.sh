#!/usr/bin/env bash
# Draws the launcher's artwork with ImageMagick. Run by hand when the art
# changes; the results are committed, so builds never need this.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

icon() {
  local size=$1 out=$2
  convert -size "${size}x${size}" xc:none \
    -fill '#1f6f8b' -draw "roundrectangle 0,0 $((size-1)),$((size-1)) $((size/5)),$((size/5))" \
    -fill '#f4d35e' -draw "polygon $((size/2)),$((size/6)) $((size*5/6)),$((size/2)) $((size/2)),$((size*5/6)) $((size/6)),$((size/2))" \
    -fill '#1f6f8b' -draw "circle $((size/2)),$((size/2)) $((size/2)),$((size*5/8))" \
    "PNG32:$out"
}

tmp=$(mktemp -d)
for s in 16 32 48; do icon "$s" "$tmp/icon$s.png"; done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$root/GameLoader/res/wxlm.ico"
rm -rf "$tmp"
