#!/usr/bin/env bash
# Set-up, configure and build. Usage: scripts/build.sh [build dir] [extra cmake args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
"$root/scripts/setup.sh" >&2
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" "$@" >&2
fi
cmake --build "$build" --target all >&2
