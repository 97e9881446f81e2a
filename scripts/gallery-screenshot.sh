#!/usr/bin/env bash
# Saves a PNG of the test corpus' gallery of the list, tree view and combo controls: runs the GUI
# test that builds tests/gui/gallery/ListTreeCombo.xml in a real window under Xvfb and writes its
# back buffer, then converts that picture.
#   scripts/gallery-screenshot.sh [out.png] [build dir]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${2:-$root/build}" 2>/dev/null && pwd || echo "$root/build")
out=${1:-$build/screenshot-list-tree-combo.png}
[ -x "$build/tests/gui_tests.exe" ] || "$root/scripts/build.sh" "$build" || exit 1
source "$root/scripts/xsession.sh" "$build"
wxlm_session_start
rm -f "$build/list-tree-combo-gallery.bmp"
ctest --test-dir "$build" --output-on-failure -R '^ListGalleryTest\.' >/dev/null || {
  echo "gallery-screenshot: the gallery test failed" >&2
  exit 1
}
convert "$build/list-tree-combo-gallery.bmp" "$out" || exit 1
echo "gallery-screenshot: $out"
