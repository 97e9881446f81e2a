#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix.
# Used as CMAKE_CROSSCOMPILING_EMULATOR and by the test and demo drivers.
#   WXLM_BUILD_DIR  build tree (default: the current folder's build/ or ./)
# The prefix is created on first use (serialised by a lock, since CTest may
# run tests in parallel). The display is whatever DISPLAY says.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${WXLM_BUILD_DIR:-$(cd "$here/../build" 2>/dev/null && pwd)}
source "$here/wine-env.sh" "$build"

wxlm_prefix_ready || wxlm_make_prefix || exit 125

# On a loaded machine Wine now and then gives up before the program starts: it
# returns a failure within a few hundred milliseconds and prints nothing (about
# one start in a thousand here). A program cannot even get going in that time,
# so such an end is taken as Wine's and the program is started once more; a
# program that really fails at once fails the second time as well.
wxlm_run_wine() {
  "$wxlm_wine" "$@" <&0 &
  local child=$!
  trap 'kill -TERM "$child" 2>/dev/null' TERM INT HUP
  wait "$child"
  local rc=$?
  # A trapped signal ends the first wait early; the program's own end comes next.
  while kill -0 "$child" 2>/dev/null; do
    wait "$child"
    rc=$?
  done
  trap - TERM INT HUP
  return "$rc"
}

started=$(date +%s%N)
wxlm_run_wine "$@"
rc=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
if [ "$rc" -ne 0 ] && [ "$elapsed_ms" -lt 500 ]; then
  echo "wine-run: Wine ended with $rc after $elapsed_ms ms, before the program could start; starting it once more" >&2
  wxlm_run_wine "$@"
  rc=$?
fi
exit "$rc"
