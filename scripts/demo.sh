#!/usr/bin/env bash
# make demo: the launcher's whole story under Wine, played the way the platform client, a user and
# the game play it, with the stand-ins of testbed/ in their places. Prints what happens at each step,
# saves screenshots under build/demo/, and ends non-zero when a step did not happen as described.
# Runs under its own Xvfb; with DISPLAY naming a reachable X display the windows appear there.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/build.sh" "$build" >/dev/null || exit 1
source "$root/scripts/xsession.sh" "$build"
source "$root/scripts/shadow.sh"
wxlm_session_start --any-display || exit 1

out=$build/demo
rm -rf "$out"
mkdir -p "$out"
testbed=$build/testbed
failed=0
step=0
say() { printf '%s\n' "$*"; }
title() { step=$((step + 1)); printf '\n== %d. %s\n' "$step" "$*"; }
ok() { say "   ok: $*"; }
fail() { say "   FAILED: $*"; failed=$((failed + 1)); }
winpath() { winepath -w "$1" 2>/dev/null; }

# ---- the platform's side ---------------------------------------------------------------------
uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\wxlm'
logdir=$(winepath -u 'C:\users' 2>/dev/null)
export WXLM_FAKE_GAME_LOG=$(winpath "$out/game.log")
export WXLM_URL_OPENER_LOG=$(winpath "$out/opened.log")
export WXLM_PORTAL_RECORD=$(winpath "$out/portal-record.txt")
unset WXLM_PORTAL_SCENARIO

cleanup() {
  wine reg delete "$uninstall" /f >/dev/null 2>&1
  wxlm_session_stop
}
trap cleanup EXIT

# A recorder window in the place of the platform client or the game manager; prints its handle.
start_recorder() {  # name
  local hwnd_file=$out/$1.hwnd
  wine "$testbed/recorder.exe" "--title=$1" "--class=Wxlm$1" "--out=$(winpath "$out/$1.txt")" \
    "--hwnd-file=$(winpath "$hwnd_file")" >/dev/null 2>&1 &
  for _ in $(seq 200); do
    [ -s "$hwnd_file" ] && { tr -d '\r\n' <"$hwnd_file"; return 0; }
    sleep 0.05
  done
  return 1
}

# Today's log of the launcher (the client's per-user Log folder in the prefix).
log_file() { find "$logdir" -path '*/Log/wxlm_main.exe_*.log' 2>/dev/null | sort | tail -n1; }
log_lines() { local f; f=$(log_file); [ -n "$f" ] && wc -l <"$f" || echo 0; }
show_log_since() {  # line count before
  local f; f=$(log_file)
  [ -n "$f" ] && tail -n +"$(($1 + 1))" "$f" | iconv -f CP1252 -t UTF-8 2>/dev/null | sed 's/^/   | /'
}
log_has_since() {  # line count before, text
  local f; f=$(log_file)
  [ -n "$f" ] && tail -n +"$(($1 + 1))" "$f" | grep -qF -- "$2"
}

# Waits for a viewable top-level window with the exact title; prints its X id.
wait_window() {  # title [tenths of a second]
  local wid
  for _ in $(seq "${2:-300}"); do
    for wid in $(xdotool search --name "^$1\$" 2>/dev/null); do
      xwininfo -id "$wid" 2>/dev/null | grep -q IsViewable && { echo "$wid"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# Saves the window as a person sees it: on a backdrop, with its shadow.
capture() {  # X window id, out.png
  local tmp
  tmp=$(mktemp -d)
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window "$1" "$tmp/window.png" && wxlm_compose_shadow "$tmp/window.png" "$WIDTH" "$HEIGHT" "$2"
  local rc=$?
  rm -rf "$tmp"
  return $rc
}

# Clicks a point of a window's client area with the real pointer.
click_at() {  # X window id, x, y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}

# Presses Return in a window, through the X server as a keyboard would.
press_return() {  # X window id
  xdotool windowfocus --sync "$1" key Return 2>/dev/null || xdotool key Return
}

exe=$(winpath "$build/bin/wxlm_main.exe")
wine reg add "$uninstall" /v DisplayIcon /t REG_SZ /d "$(winpath "$testbed")\\wxlm_main.exe" /f >/dev/null 2>&1

say "demo: wxlm_main.exe under Wine ($(wxlm_build_arch "$build") build), display $DISPLAY, output in $out"

# ---- 1. the platform client starts the launcher --------------------------------------------
title "The platform client starts the launcher"
client=$(start_recorder Client) || { fail "the client stand-in did not start"; exit 1; }
manager=$(start_recorder GameManager) || { fail "the game manager stand-in did not start"; exit 1; }
say "   client window $client, game manager window $manager (recorder.exe)"
args=(--source=QV --token=demo-token --qvext=demo-ext "--winid=$client" "--gameMgrId=$manager" --typeMode=0
      --tokenLogin=0 --installed=1)
say "   wine wxlm_main.exe ${args[*]}"
before=$(log_lines)
wine "$exe" "${args[@]}" >/dev/null 2>&1 &
launcher=$!

# ---- 2. the portal page loads and the window appears ----------------------------------------
title "The portal page loads; the window appears"
if wid=$(wait_window Orvendale); then
  sleep 0.5 # the page paints after the window shows
  show_log_since "$before"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  [ "$WIDTH" = 960 ] && [ "$HEIGHT" = 620 ] && ok "a ${WIDTH}x${HEIGHT} window titled Orvendale" ||
    fail "the window is ${WIDTH}x${HEIGHT}, not 960x620"
  grep -q $'^navigate\thttps://' "$out/portal-record.txt" 2>/dev/null &&
    say "   the browser was asked for: $(grep -m1 $'^navigate\t' "$out/portal-record.txt" | cut -f2)"
  capture "$wid" "$out/1-launcher.png" && ok "screenshot: $out/1-launcher.png" || fail "no screenshot"
else
  fail "the launcher showed no window"
fi

# ---- 3. a second start brings the window forward -----------------------------------------------
title "A second start brings the first window forward"
before=$(log_lines)
second=$(wine "$exe" --source=QV --token=again >/dev/null 2>&1; echo $?)
show_log_since "$before"
log_has_since "$before" "CreateMutex ERROR_ALREADY_EXISTS" && [ "$second" = 0 ] &&
  ok "the second launcher found the first one and ended with 0" || fail "second start: exit $second"
log_has_since "$before" "OnShowMainWnd enter" && ok "the first window came forward" ||
  fail "the first window was not brought forward"

# ---- 4. the page asks for the game ---------------------------------------------------------
title "The page asks for the game: a click on 开始游戏"
if [ -n "${wid:-}" ]; then
  before=$(log_lines)
  click_at "$wid" 480 230
  wait "$launcher"; rc=$?
  show_log_since "$before"
  [ "$rc" = 0 ] && ok "the launcher ended with 0 after starting the game" || fail "the launcher ended with $rc"
  if [ -s "$out/game.log" ]; then
    say "   the stand-in game received:"
    grep '^arg ' "$out/game.log" | sed 's/^arg [0-9]* /   > /'
    grep -q '^arg .* --token=demo-token$' "$out/game.log" && ok "the game got the client's token" ||
      fail "the game's command line lacks the token"
  else
    fail "the game did not start"
  fi
else
  fail "no window to click"
  kill "$launcher" 2>/dev/null
fi

# ---- 5. the game has ended: the exit notice ----------------------------------------------------
title "The game has ended: the client starts the launcher with the game-exit notice"
before=$(log_lines)
rc=$(wine "$exe" '{"type":1}' >/dev/null 2>&1; echo $?)
show_log_since "$before"
notice=$(grep -m1 '^copydata ' "$out/Client.txt" 2>/dev/null)
if [ -n "$notice" ]; then
  set -- $notice
  hex=$4
  head=$((16#${hex:6:2}${hex:4:2}${hex:2:2}${hex:0:2}))
  tail=$((16#${hex:1054:2}${hex:1052:2}${hex:1050:2}${hex:1048:2}))
  text=$(printf '%b' "$(printf '%s' "${hex:8:1040}" | sed 's/../\\x&/g')" | iconv -f UTF-16LE -t UTF-8 | tr -d '\0')
  say "   the client window received WM_COPYDATA kind $2, $3 bytes: head $head, text \"$text\", tail $tail"
  [ "$2" = 1 ] && [ "$3" = 528 ] && [ "$head" = 1 ] && [ "$text" = 1 ] && [ "$tail" = 1 ] && [ "$rc" = 0 ] &&
    ok "the 528-byte notice reached the client" || fail "the notice is not as expected (exit $rc)"
else
  fail "the client received no notice"
fi

# ---- 6. when things go wrong --------------------------------------------------------------------
title "The portal cannot be reached"
scenario=$out/unreachable.txt
printf 'page *\nstatus 0x800C0005\n' >"$scenario"
before=$(log_lines)
WXLM_PORTAL_SCENARIO=$(winpath "$scenario") wine "$exe" --source=QV --token=demo-token >/dev/null 2>&1 &
launcher=$!
if box=$(wait_window 提示 200); then
  sleep 0.3
  capture "$box" "$out/2-unreachable.png" && ok "the system message box \"提示\"; screenshot: $out/2-unreachable.png"
  press_return "$box"
else
  fail "no system message box"
fi
wait "$launcher"; rc=$?
show_log_since "$before"
[ "$rc" = 0 ] && ok "the launcher ended with 0" || fail "the launcher ended with $rc"

title "A download failure shows the skinned message box"
before=$(log_lines)
wine "$exe" --source=QV --token=demo-token >/dev/null 2>&1 &
launcher=$!
if wid=$(wait_window Orvendale); then
  wine "$testbed/poster.exe" "title:Orvendale" 1134 1 >/dev/null 2>&1
  if box=$(wait_window CustomMsgBox 100); then
    sleep 0.3
    capture "$box" "$out/3-message-box.png" && ok "the skinned box; screenshot: $out/3-message-box.png"
    click_at "$box" 220 224 # its OK button
  else
    fail "no skinned message box"
  fi
  wait "$launcher"; rc=$?
  show_log_since "$before"
  [ "$rc" = 0 ] && ok "the launcher closed with 0 after the box" || fail "the launcher ended with $rc"
else
  fail "the launcher showed no window"
  kill "$launcher" 2>/dev/null
fi

printf '\n'
if [ "$failed" = 0 ]; then
  say "demo: every step happened as described. Screenshots and records: $out"
else
  say "demo: $failed step(s) did not happen as described (see FAILED above)"
fi
[ "$failed" = 0 ]
