#!/usr/bin/env bash
# Opens one of the launcher's skins from the built wxlm_main.exe's resources under Xvfb (through
# testbed/skin_probe.exe, in front of a light backdrop) and saves a PNG of the window and its shadow.
#   scripts/screenshot.sh [GameLoader.xml|CustomMsgBox.xml] [out.png] [build dir]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
doc=${1:-GameLoader.xml}
build=$(cd "${3:-$root/build}" && pwd)
out=${2:-$build/screenshot-${doc%.xml}.png}
margin=24

[ -x "$build/testbed/skin_probe.exe" ] || "$root/scripts/build.sh" "$build" || exit 1
source "$root/scripts/xsession.sh" "$build"
wxlm_session_start || exit 1

exe=$(winepath -w "$build/bin/wxlm_main.exe")
wine "$build/testbed/skin_probe.exe" 130 "$doc" --from "$exe" --stay --backdrop >/dev/null 2>&1 &
probe=$!

wid=
for _ in $(seq 200); do
  wid=$(xdotool search --name '^SkinProbe$' 2>/dev/null | head -n1 || true)
  [ -n "$wid" ] && xwininfo -id "$wid" 2>/dev/null | grep -q 'IsViewable' && break
  kill -0 "$probe" 2>/dev/null || { echo "screenshot: skin_probe.exe ended early" >&2; exit 1; }
  sleep 0.1
done
[ -n "$wid" ] || { echo "screenshot: no window" >&2; exit 1; }
sleep 0.5  # the shadow window follows the first paint

eval "$(xdotool getwindowgeometry --shell "$wid")"
import -window root -crop "$((WIDTH + 2 * margin))x$((HEIGHT + 2 * margin))+$((X - margin))+$((Y - margin))" +repage "$out"
kill "$probe" 2>/dev/null || true
echo "screenshot: $out (${WIDTH}x${HEIGHT} window at $X,$Y, ${margin}px around it)"
