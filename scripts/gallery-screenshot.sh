#!/usr/bin/env bash
# Saves PNGs of the gallery pages of the test corpus (tests/gui/gallery/): runs the GUI test that
# builds each page in a real window under Xvfb and writes its back buffer, then converts that
# picture to build/screenshot-<page>.png.
#   scripts/gallery-screenshot.sh [build dir] [page ...]
# Pages: list-tree-combo (lists, tree view, combos), text-entry (edits, rich edit),
# other-controls (slider, GIF player, date field, Flash). Without a page: all of them.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" 2>/dev/null && pwd || echo "$root/build")
shift $(($# > 0 ? 1 : 0))
pages=("$@")
[ ${#pages[@]} -gt 0 ] || pages=(list-tree-combo text-entry other-controls)
tests=()
for page in "${pages[@]}"; do
  case $page in
    list-tree-combo) tests+=(ListGalleryTest) ;;
    text-entry) tests+=(TextEntryGalleryTest) ;;
    other-controls) tests+=(OtherControlsGalleryTest) ;;
    *) echo "gallery-screenshot: no gallery page $page" >&2; exit 2 ;;
  esac
done
[ -x "$build/tests/gui_tests.exe" ] || "$root/scripts/build.sh" "$build" || exit 1
source "$root/scripts/xsession.sh" "$build"
wxlm_session_start
for page in "${pages[@]}"; do rm -f "$build/$page-gallery.bmp"; done
pattern=$(IFS='|'; echo "${tests[*]}")
ctest --test-dir "$build" --output-on-failure -R "^($pattern)\\." >/dev/null || {
  echo "gallery-screenshot: a gallery test failed" >&2
  exit 1
}
for page in "${pages[@]}"; do
  convert "$build/$page-gallery.bmp" "$build/screenshot-$page.png" || exit 1
  echo "gallery-screenshot: $build/screenshot-$page.png"
done
