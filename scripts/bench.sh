#!/usr/bin/env bash
# make bench: builds and runs every benchmark under bench/ in Wine, builds the release program for
# its size and imports, and ends with one table of the goal figures (the benchmarks print them as
# "SUMMARY|figure|value|baseline|ratio|goal|met" lines, bench/BenchSummary.h).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# The programs are measured as they ship, optimised (a Debug image is several times larger and
# its decoders and painters unoptimised), in their own tree for this host's architecture.
build=$root/build-bench
release=$root/build-release
WXLM_TARGETS=wxlm_benches "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release || exit 1
source "$root/scripts/xsession.sh" "$build"
wxlm_session_start || exit 1
status=0
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
for b in "$build"/bench/bench_*.exe; do
  [ -e "$b" ] || { echo "bench: no benchmarks built"; status=1; break; }
  echo "== $(basename "$b")"
  out=$(wine "$b" | tr -d '\r') || status=1
  grep -v '^SUMMARY|' <<<"$out"
  grep '^SUMMARY|' <<<"$out" >>"$summary"
done

# The shipped program: the i686 release build.
echo "== release executable"
if WXLM_ARCH=i686 "$root/scripts/build.sh" "$release" -DCMAKE_BUILD_TYPE=Release -DWXLM_BUILD_TESTS=OFF \
  >/dev/null 2>&1 && [ -f "$release/bin/wxlm_main.exe" ]; then
  exe=$release/bin/wxlm_main.exe
  bytes=$(stat -c %s "$exe")
  dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | sort -u | tr '\n' ' ')
  # Every import must be a DLL that Windows itself ships.
  system='^(kernel32|user32|gdi32|gdiplus|msimg32|comctl32|imm32|ole32|oleaut32|shlwapi|shell32|advapi32|wtsapi32|wininet|msvcrt|ws2_32|version|comdlg32|uxtheme|api-ms-win-[a-z0-9-]+)\.dll$'
  foreign=$(for d in $dlls; do tr 'A-Z' 'a-z' <<<"$d" | grep -Evq "$system" && echo "$d"; done | tr '\n' ' ')
  echo "size $bytes bytes; imports: $dlls"
  ratio=$(awk -v b="$bytes" 'BEGIN { printf "%.2f", b / 1500000 }')
  met=$(awk -v b="$bytes" 'BEGIN { print (b <= 1500000 ? "met" : "NOT met") }')
  if [ -n "$foreign" ]; then met="NOT met (imports $foreign)"; fi
  printf 'SUMMARY|release wxlm_main.exe (i686) size|%s bytes|1.5 MB (1500000 bytes)|%s|<= 1.00|%s\n' \
    "$bytes" "$ratio" "$met" >>"$summary"
else
  echo "bench: the release build failed"
  printf 'SUMMARY|release wxlm_main.exe (i686) size|no build|1.5 MB|-|<= 1.00|NOT met\n' >>"$summary"
  status=1
fi

echo
echo "== summary ($(date -u +%Y-%m-%d), medians of repeated runs under Wine)"
{
  echo "figure|value|baseline|ratio|goal|met"
  cut -d'|' -f2- "$summary"
} | column -t -s'|'
exit $status
