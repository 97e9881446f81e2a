#!/usr/bin/env bash
# Saves a PNG of a gallery page of the test corpus: runs the GUI test that builds the page
# (tests/gui/gallery/ListTreeCombo.xml, or TextEntry.xml for the page "text-entry") in a real
# window under Xvfb and writes its back buffer, then converts that picture.
#   scripts/gallery-screenshot.sh [out.png] [build dir] [list-tree-combo | text-entry]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${2:-$root/build}" 2>/dev/null && pwd || echo "$root/build")
page=${3:-list-tree-combo}
case $page in
  list-tree-combo) test=ListGalleryTest ;;
  text-entry) test=TextEntryGalleryTest ;;
  *) echo "gallery-screenshot: no page $page" >&2; exit 2 ;;
esac
out=${1:-$build/screenshot-$page.png}
[ -x "$build/tests/gui_tests.exe" ] || "$root/scripts/build.sh" "$build" || exit 1
source "$root/scripts/xsession.sh" "$build"
wxlm_session_start
rm -f "$build/$page-gallery.bmp"
ctest --test-dir "$build" --output-on-failure -R "^$test\\." >/dev/null || {
  echo "gallery-screenshot: the gallery test failed" >&2
  exit 1
}
convert "$build/$page-gallery.bmp" "$out" || exit 1
echo "gallery-screenshot: $out"
