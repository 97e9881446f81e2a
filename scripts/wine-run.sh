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
exec "$wxlm_wine" "$@"
