#!/usr/bin/env bash
# make bench: builds and runs every benchmark under bench/ in Wine.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/build.sh" "$build" || exit 1
source "$root/scripts/xsession.sh" "$build"
wxlm_session_start || exit 1
status=0
for b in "$build"/bench/bench_*.exe; do
  [ -e "$b" ] || { echo "bench: no benchmarks built"; break; }
  echo "== $(basename "$b")"
  wine "$b" || status=1
done
exit $status
