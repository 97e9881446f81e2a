# Sourced: one Xvfb and one warm wineserver for a run of Wine programs.
#   source scripts/xsession.sh <build dir>; wxlm_session_start; ...; (cleanup runs on exit)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh" "$1"

wxlm_xvfb_pid=
wxlm_session_stop() {
  wineserver -k >/dev/null 2>&1
  if [ -n "$wxlm_xvfb_pid" ]; then
    kill "$wxlm_xvfb_pid" 2>/dev/null
    wait "$wxlm_xvfb_pid" 2>/dev/null
  fi
  wxlm_xvfb_pid=
}

# With --any-display an X display that DISPLAY names and that answers is used instead of Xvfb.
wxlm_session_start() {
  trap wxlm_session_stop EXIT
  trap 'exit 130' INT TERM
  # A server left from another display could not create windows on ours.
  wineserver -k >/dev/null 2>&1
  if [ "${1:-}" = --any-display ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wxlm_session_wine_up
    return
  fi
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 </dev/null &
  wxlm_xvfb_pid=$!
  local i
  for i in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.05
  done
  [ -s "$fdfile" ] || { echo "xsession: Xvfb did not start" >&2; rm -f "$fdfile"; return 1; }
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  wxlm_session_wine_up
}

wxlm_session_wine_up() {
  wxlm_prefix_ready || wxlm_make_prefix || return 1
  # Started detached, so that Wine's daemons do not hold our output open.
  wineserver -p60 >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}
