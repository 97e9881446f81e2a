#!/usr/bin/env bash
# make demo: builds wxlm_main.exe and runs it under Wine the way the platform
# client starts it, then shows what it left behind.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/build.sh" "$build" || exit 1
source "$root/scripts/xsession.sh" "$build"
wxlm_session_start || exit 1

exe=$(winepath -w "$build/bin/wxlm_main.exe")
args=(--winid=0 --source=QV --tokenLogin=0 --token=demo-token --qvext=demo --installed=1)
echo "demo: wine wxlm_main.exe ${args[*]}"
wine "$exe" "${args[@]}" >/dev/null 2>&1 &
launcher=$!
# The window appears once the portal page (the test prefix's offline stand-in) has loaded; it is
# saved as a picture and then closed the way a user does: the page's close button at the top right.
wid=
for _ in $(seq 300); do
  wid=$(xdotool search --onlyvisible --name '^Orvendale$' 2>/dev/null | head -n1 || true)
  [ -n "$wid" ] && break
  kill -0 "$launcher" 2>/dev/null || break
  sleep 0.1
done
if [ -n "$wid" ]; then
  sleep 0.5 # the page paints after the window shows
  import -window "$wid" "$build/demo-launcher.png" && echo "demo: the launcher's window: $build/demo-launcher.png"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  xdotool mousemove $((X + WIDTH - 20)) $((Y + 20)) click 1
else
  echo "demo: the launcher showed no window"
  kill "$launcher" 2>/dev/null
fi
wait "$launcher"
echo "demo: wxlm_main.exe exited with $?"

logdir=$(find "$WINEPREFIX/drive_c/users" -type d -path '*/AppData/Local/Quillvarinth/Log' 2>/dev/null | head -n1)
if [ -n "$logdir" ] && ls "$logdir"/wxlm_main.exe_*.log >/dev/null 2>&1; then
  for f in "$logdir"/wxlm_main.exe_*.log; do
    echo "demo: log file $f"
    tail -n 20 "$f" | sed 's/^/  | /'
  done
else
  echo "demo: no log file yet (expected under $WINEPREFIX/drive_c/users/$USER/AppData/Local/Quillvarinth/Log)"
fi

# The launcher's two skins as they come out of wxlm_main.exe's resources, for a person to look at.
wxlm_session_stop
for doc in GameLoader.xml CustomMsgBox.xml; do
  "$root/scripts/screenshot.sh" "$doc" "$build/demo-${doc%.xml}.png" "$build" | sed 's/^/demo: /'
done
# The message box as the launcher shows it, with the text of one of its two failures.
"$root/scripts/screenshot.sh" --message "网络异常" "$build/demo-MessageBox.png" "$build" | sed 's/^/demo: /'
