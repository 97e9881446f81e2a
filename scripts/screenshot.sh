#!/usr/bin/env bash
# Opens one of the launcher's skins from the built wxlm_main.exe's resources under Xvfb and saves
# PNGs of the window and its shadow. GameLoader.xml is the launcher itself, started as the client
# starts it, with the test prefix's offline portal page; other skins go through
# testbed/skin_probe.exe, in front of a light backdrop.
#   scripts/screenshot.sh [GameLoader.xml|CustomMsgBox.xml] [out.png] [build dir]
# With --message the launcher's message box is shown with that text, as the launcher shows it
# (testbed/msgbox_probe.exe calls the launcher's own code over a light full-screen owner):
#   scripts/screenshot.sh --message TEXT [out.png] [build dir]
# Xvfb has no compositing manager, so the layered shadow window reaches the screen without its
# alpha (a black ring): out-raw.png is that screen. out.png puts the captured window on the backdrop
# with skin/shadow.png drawn as the shadow draws it (nine-grid, corners 9), as a desktop shows it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
message=
if [ "${1:-}" = --message ]; then
  [ $# -ge 2 ] || { echo "screenshot: --message needs a text" >&2; exit 1; }
  message=$2
  shift 2
  doc=MessageBox program=msgbox_probe.exe title=CustomMsgBox
else
  doc=${1:-GameLoader.xml}
  shift || true
  program=skin_probe.exe title=SkinProbe
  [ "$doc" = GameLoader.xml ] && program=launcher title=Orvendale
fi
build=$(cd "${2:-$root/build}" && pwd)
out=${1:-$build/screenshot-${doc%.xml}.png}
margin=24

[ -x "$build/testbed/skin_probe.exe" ] || "$root/scripts/build.sh" "$build" || exit 1
source "$root/scripts/xsession.sh" "$build"
source "$root/scripts/shadow.sh"
wxlm_session_start || exit 1

exe=$(winepath -w "$build/bin/wxlm_main.exe")
if [ -n "$message" ]; then
  wine "$build/testbed/$program" "$message" --from "$exe" >/dev/null 2>&1 &
elif [ "$program" = launcher ]; then
  unset WXLM_PORTAL_SCENARIO
  wine "$exe" --source=QV --token=screenshot >/dev/null 2>&1 &
else
  wine "$build/testbed/$program" 130 "$doc" --from "$exe" --stay --backdrop >/dev/null 2>&1 &
fi
probe=$!

wid=
for _ in $(seq 200); do
  wid=$(xdotool search --name "^$title\$" 2>/dev/null | head -n1 || true)
  [ -n "$wid" ] && xwininfo -id "$wid" 2>/dev/null | grep -q 'IsViewable' && break
  kill -0 "$probe" 2>/dev/null || { echo "screenshot: $program ended early" >&2; exit 1; }
  sleep 0.1
done
[ -n "$wid" ] || { echo "screenshot: no window" >&2; exit 1; }
sleep 0.5  # the shadow window and the page follow the first paint

eval "$(xdotool getwindowgeometry --shell "$wid")"
raw=${out%.png}-raw.png
import -window root -crop "$((WIDTH + 2 * margin))x$((HEIGHT + 2 * margin))+$((X - margin))+$((Y - margin))" +repage "$raw"
tmp=$(mktemp -d)
import -window "$wid" "$tmp/window.png"
kill "$probe" 2>/dev/null || true

wxlm_compose_shadow "$tmp/window.png" "$WIDTH" "$HEIGHT" "$out" "$margin"
rm -rf "$tmp"
echo "screenshot: $out and $raw (${WIDTH}x${HEIGHT} window at $X,$Y, ${margin}px around it)"
