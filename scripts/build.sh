#!/usr/bin/env bash
# Set-up, configure and build. Usage: scripts/build.sh [build dir] [extra cmake args...]
# WXLM_TARGETS names the targets to build (default: all).
# The target architecture is $WXLM_ARCH (i686 or x86_64) if set, else i686 where this host
# runs 32-bit programs and x86_64 (tested under wine64) where it does not. A build tree made
# for the other architecture is configured afresh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
"$root/scripts/setup.sh" >&2
source "$root/scripts/arch.sh"
arch=$(wxlm_host_arch)
fresh=()
if [ -f "$build/build.ninja" ] && [ "$(wxlm_build_arch "$build")" != "$arch" ]; then
  echo "build: $build was made for $(wxlm_build_arch "$build"), configuring it afresh for $arch" >&2
  fresh=(--fresh)
fi
if [ ! -f "$build/build.ninja" ] || [ ${#fresh[@]} -gt 0 ]; then
  cmake "${fresh[@]}" -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" "$@" >&2
fi
# shellcheck disable=SC2086 # a list of target names
cmake --build "$build" --target ${WXLM_TARGETS:-all} >&2
