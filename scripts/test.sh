#!/usr/bin/env bash
# make test: set-up, build, then every test under Wine in one Xvfb session.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/build.sh" "$build" || exit 1
source "$root/scripts/xsession.sh" "$build"
wxlm_session_start || exit 1
# One test at a time: with two at once, a test process that had passed sometimes hung in its exit
# under wine64 while a window test ran beside it.
ctest --test-dir "$build" --output-on-failure --no-tests=error "$@"
