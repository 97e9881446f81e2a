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
# returns a failure within a few hundred milliseconds and prints nothing at all
# (about one start in a thousand here). Such an end is taken as Wine's and the
# program is started once more. A program that printed anything ran, and its
# failure stands.
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

printed=$(mktemp)
trap 'rm -f "$printed"' EXIT
started=$(date +%s%N)
wxlm_run_wine "$@" > >(tee "$printed")
rc=$?
wait $! 2>/dev/null
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
if [ "$rc" -ne 0 ] && [ "$elapsed_ms" -lt 500 ] && [ ! -s "$printed" ]; then
  echo "wine-run: Wine ended with $rc after $elapsed_ms ms without a word from the program; starting it once more" >&2
  wxlm_run_wine "$@"
  rc=$?
fi
exit "$rc"
