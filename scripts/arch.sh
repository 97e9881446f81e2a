# Sourced: which Windows architecture the test builds of this host use.
#   wxlm_host_arch       i686 or x86_64: $WXLM_ARCH if set, else i686 where 32-bit programs run
#   wxlm_build_arch DIR  the architecture a configured build tree was made for

# Kernels without IA-32 emulation refuse every i386 program ("Exec format error"): 32-bit
# Wine cannot run there, 64-bit Wine can. A binfmt_misc handler for i386 programs (qemu-user)
# takes them all, even where the kernel could run them, and is far too slow for Wine.
wxlm_ia32_emulated() {
  local f
  grep -qx enabled /proc/sys/fs/binfmt_misc/status 2>/dev/null || return 1
  for f in /proc/sys/fs/binfmt_misc/*; do
    case "${f##*/}" in register|status) continue ;; esac
    grep -qx enabled "$f" 2>/dev/null || continue
    grep -Eq '^magic 7f454c4601[0-9a-f]{26}0300$' "$f" 2>/dev/null && return 0
  done
  return 1
}
wxlm_ia32_runs() {
  ! wxlm_ia32_emulated && /usr/lib/wine/wineserver32 --version >/dev/null 2>&1
}

# How this host starts a 32-bit Linux program: natively (prints nothing), through Debian's
# qemu-user emulator started by name (prints its path), or not at all (fails).
wxlm_i386_runner() {
  if wxlm_ia32_runs; then return 0; fi
  command -v qemu-i386-static && return 0
  return 1
}

wxlm_host_arch() {
  case "${WXLM_ARCH:-}" in
    i686|x86_64) echo "$WXLM_ARCH"; return 0 ;;
    '') ;;
    *) echo "WXLM_ARCH must be i686 or x86_64, not '$WXLM_ARCH'" >&2; return 1 ;;
  esac
  if wxlm_ia32_runs; then echo i686; else echo x86_64; fi
}

wxlm_build_arch() {
  if [ -s "$1/wxlm-arch" ]; then head -n1 "$1/wxlm-arch"; else wxlm_host_arch; fi
}
