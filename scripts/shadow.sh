# Sourced: draws a captured window on a light backdrop with its shadow as a desktop with
# compositing shows it. Xvfb has none, so the layered shadow window itself reaches the screen
# without its alpha; skin/shadow.png is drawn as the shadow draws it instead (nine-grid, corners 9).
#   wxlm_compose_shadow WINDOW.png WIDTH HEIGHT OUT.png [MARGIN]
wxlm_compose_shadow() {
  local window=$1 W=$2 H=$3 out=$4 margin=${5:-24}
  local s c=9 mid=6 tmp
  s=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/skin/shadow.png
  tmp=$(mktemp -d)
  piece() {  # crop geometry, size, position
    echo "( $s -crop $1 +repage -filter point -resize $2! ) -geometry $3 -composite"
  }
  # shellcheck disable=SC2046
  convert -size "$((W + 2 * c))x$((H + 2 * c))" xc:none \
    $(piece "${c}x${c}+0+0" "${c}x${c}" +0+0) \
    $(piece "${mid}x${c}+${c}+0" "${W}x${c}" "+${c}+0") \
    $(piece "${c}x${c}+$((c + mid))+0" "${c}x${c}" "+$((W + c))+0") \
    $(piece "${c}x${mid}+0+${c}" "${c}x${H}" "+0+${c}") \
    $(piece "${c}x${mid}+$((c + mid))+${c}" "${c}x${H}" "+$((W + c))+${c}") \
    $(piece "${c}x${c}+0+$((c + mid))" "${c}x${c}" "+0+$((H + c))") \
    $(piece "${mid}x${c}+${c}+$((c + mid))" "${W}x${c}" "+${c}+$((H + c))") \
    $(piece "${c}x${c}+$((c + mid))+$((c + mid))" "${c}x${c}" "+$((W + c))+$((H + c))") \
    "PNG32:$tmp/shadow.png"
  convert -size "$((W + 2 * margin))x$((H + 2 * margin))" xc:'#EEEFF2' \
    "$tmp/shadow.png" -geometry "+$((margin - c))+$((margin - c))" -composite \
    "$window" -geometry "+${margin}+${margin}" -composite "$out"
  local rc=$?
  rm -rf "$tmp"
  return $rc
}
