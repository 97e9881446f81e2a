#!/usr/bin/env bash
# Saves a PNG of a gallery page of the test corpus: runs the GUI test that builds the page
# (tests/gui/gallery/ListTreeCombo.xml, or OtherControls.xml with the slider, GIF player, date
# and Flash controls) in a real window under Xvfb and writes its back buffer, then converts that
# picture.
#   scripts/gallery-screenshot.sh [out.png] [build dir] [ListTreeCombo|OtherControls]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${2:-$root/build}" 2>/dev/null && pwd || echo "$root/build")
page=${3:-ListTreeCombo}
case $page in
  ListTreeCombo) test=ListGalleryTest picture=list-tree-combo ;;
  OtherControls) test=OtherControlsGalleryTest picture=other-controls ;;
  *) echo "gallery-screenshot: no gallery page $page" >&2; exit 2 ;;
esac
out=${1:-$build/screenshot-$picture.png}
[ -x "$build/tests/gui_tests.exe" ] || "$root/scripts/build.sh" "$build" || exit 1
source "$root/scripts/xsession.sh" "$build"
wxlm_session_start
rm -f "$build/$picture-gallery.bmp"
ctest --test-dir "$build" --output-on-failure -R "^$test\\." >/dev/null || {
  echo "gallery-screenshot: the gallery test failed" >&2
  exit 1
}
convert "$build/$picture-gallery.bmp" "$out" || exit 1
echo "gallery-screenshot: $out"
