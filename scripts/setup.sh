#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12 (run as root).
# Idempotent: a second run checks, installs nothing and takes seconds.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
third="$root/third_party"

packages=(
  g++-mingw-w64-i686-posix cmake make ninja-build
  wine wine32 fonts-wine xvfb xauth xdotool
  libz-mingw-w64-dev libstb-dev googletest dpkg-dev patch
  imagemagick fonts-wqy-microhei python3
  clang libclang-rt-14-dev zlib1g-dev
)
# Where the kernel runs no 32-bit programs, the tests are built for x86_64 and run under wine64.
packages_x86_64=(wine64 g++-mingw-w64-x86-64-posix)
# The fuzz harnesses are built as 32-bit Linux programs (integer sizes as on the target); where the
# kernel runs none, Debian's qemu-user emulator runs them (started by name: no binfmt handler).
packages_fuzz_i386=(libc6-dev-i386 lib32stdc++-12-dev lib32gcc-12-dev zlib1g-dev:i386)
packages_i386_emulator=(qemu-user-static)
source "$root/scripts/arch.sh"

missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || echo "$p"
  done
}

enable_sources() {
  local changed=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    changed=1
  fi
  if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    cat >/etc/apt/sources.list.d/wxlm-src.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    changed=1
  fi
  return $changed
}

apt_updated=0
install_packages() {
  local need
  need=$(missing_packages "$@")
  local sources_changed=0
  enable_sources || sources_changed=1
  if [ $apt_updated = 0 ] && { [ -n "$need" ] || [ $sources_changed = 1 ] || [ ! -d "$third/jsoncpp" ] || [ ! -d "$third/tinyxml2" ]; }; then
    apt-get update -q
    apt_updated=1
  fi
  need=$(missing_packages "$@")
  if [ -n "$need" ]; then
    echo "setup: installing $(echo $need | tr '\n' ' ')"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $need
  fi
}

# Debian's sources with Debian's patches applied, unpacked into third_party/<name>, then our
# own patches for it (cmake/patches/<name>-*.patch). The marker holds the checksum of those, so a
# changed patch unpacks the sources afresh.
fetch_source() {
  local pkg=$1 dir=$2
  local patches=("$root/cmake/patches/$dir"-*.patch)
  [ -e "${patches[0]}" ] || patches=()
  local stamp
  stamp=$(cat /dev/null "${patches[@]}" | sha256sum | cut -d' ' -f1)
  [ "$(cat "$third/$dir/.unpacked" 2>/dev/null)" = "$stamp" ] && return 0
  local tmp
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source --download-only -q -o APT::Sandbox::User=root "$pkg" >/dev/null)
  rm -rf "${third:?}/$dir"
  mkdir -p "$third"
  dpkg-source --no-check --no-copy -x "$tmp"/*.dsc "$third/$dir" >/dev/null
  rm -rf "$tmp"
  local patch
  for patch in "${patches[@]}"; do
    patch -s -p1 -d "$third/$dir" <"$patch"
  done
  echo "$stamp" >"$third/$dir/.unpacked"
  echo "setup: unpacked $pkg into third_party/$dir"
}

install_packages "${packages[@]}"
# Checked once wine32 is there: its server is the smallest i386 program at hand.
if [ "$(wxlm_host_arch)" = x86_64 ] || ! wxlm_ia32_runs; then
  install_packages "${packages_x86_64[@]}"
fi
if ! wxlm_ia32_runs; then
  install_packages "${packages_i386_emulator[@]}"
fi
install_packages "${packages_fuzz_i386[@]}"
fetch_source libjsoncpp jsoncpp
fetch_source tinyxml2 tinyxml2
echo "setup: ready"
