# Sourced: the environment of the private Wine prefix of a build tree.
#   source scripts/wine-env.sh <build dir>
# Defines wxlm_prefix_ready and wxlm_make_prefix; for x86_64 trees also wine, wineboot and
# winepath as functions that use the 64-bit loader. $wxlm_wine is the loader to exec.

source "$(dirname "${BASH_SOURCE[0]}")/arch.sh"
wxlm_arch=$(wxlm_build_arch "$1")
wxlm_build_dir=$1
export WINEPREFIX="$1/wineprefix"
if [ "$wxlm_arch" = x86_64 ]; then
  # Debian's wine wrapper takes the 32-bit loader whenever wine32 is installed, even where it
  # cannot run: the 64-bit loader is named directly, and WINELOADER has Wine start its own
  # programs with it.
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  wine() { "$WINELOADER" "$@"; }
  wineboot() { "$WINELOADER" wineboot "$@"; }
  winepath() { "$WINELOADER" winepath "$@"; }
  wxlm_wine=$WINELOADER
else
  export WINEARCH=win32
  wxlm_wine=wine
fi
export WINEDEBUG=-all
# No Mono and Gecko installers: Wine's browser object still answers without them.
# No menu builder: Wine starts it for every saved shortcut; it opens the file in the background
# (again after the saving process has ended if it could not read it yet, when the next test may be
# deleting it) and writes menu entries into the Linux user's home, outside the sandbox.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# Pinned so that the ANSI code page is 1252 on every machine.
export LC_ALL=C.UTF-8
export LANG=C.UTF-8
unset LANGUAGE
export USER=${USER:-root}

# Bump when the prefix's preparation changes: older prefixes are made anew.
wxlm_prefix_version=8-$WINEARCH
wxlm_prefix_ready() { [ -f "$WINEPREFIX/.wxlm-ready-$wxlm_prefix_version" ]; }

# The skins name Chinese fonts Wine does not have; the CJK font from Debian stands in for them.
wxlm_font_replacements() {
  local face
  for face in 微软雅黑 'Microsoft YaHei'; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 9>&-
  done
}

# A win64 prefix's set-up also runs 32-bit helpers and waits for each. Where the kernel runs no
# i386 programs they fail at once, unless a qemu-user handler takes them: then they would crawl
# for many minutes, so those of our prefix are ended (the 64-bit programs need none of them).
wxlm_wineboot_64() {
  wineboot -i >/dev/null 2>&1 9>&- &
  local boot=$! pid
  while kill -0 "$boot" 2>/dev/null; do
    for pid in $(pgrep -f '^/usr/bin/qemu-i386' 2>/dev/null); do
      tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && kill "$pid" 2>/dev/null
    done
    sleep 0.2
  done
  wait "$boot"
}

# The stand-in Web Browser object (testbed/portal_browser/README.md) takes the place of the
# system's: HKLM TreatAs is honoured by Wine, an HKCU override of this class is not. The DLL
# need not exist yet; COM loads it on first use.
wxlm_portal_clsid='{0E012313-2E0E-4F49-BC74-ECD7F6FAB4BD}'
wxlm_register_portal_browser() {
  local classes='HKLM\Software\Classes' dll server
  dll="Z:$(printf '%s' "$wxlm_build_dir/testbed/portal_browser.dll" | tr / '\\')"
  server="$classes"'\CLSID\'"$wxlm_portal_clsid"'\InprocServer32'
  wine reg add "$server" /ve /t REG_SZ /d "$dll" /f >/dev/null 2>&1 9>&-
  wine reg add "$server" /v ThreadingModel /t REG_SZ /d Apartment /f >/dev/null 2>&1 9>&-
  wine reg add "$classes"'\Wxlm.PortalBrowser\CLSID' /ve /t REG_SZ /d "$wxlm_portal_clsid" /f >/dev/null 2>&1 9>&-
  wine reg add "$classes"'\CLSID\{8856F961-340A-11D0-A96B-00C04FD705A2}\TreatAs' /ve /t REG_SZ /d "$wxlm_portal_clsid" /f >/dev/null 2>&1 9>&-
}

# The stand-in Flash object (testbed/flash_standin/) under the Shockwave Flash class id and
# ProgID: no Flash is installed in the prefix otherwise.
wxlm_register_flash_standin() {
  local classes='HKLM\Software\Classes' dll server clsid='{D27CDB6E-AE6D-11CF-96B8-444553540000}'
  dll="Z:$(printf '%s' "$wxlm_build_dir/testbed/flash_standin.dll" | tr / '\\')"
  server="$classes"'\CLSID\'"$clsid"'\InprocServer32'
  wine reg add "$server" /ve /t REG_SZ /d "$dll" /f >/dev/null 2>&1 9>&-
  wine reg add "$server" /v ThreadingModel /t REG_SZ /d Apartment /f >/dev/null 2>&1 9>&-
  wine reg add "$classes"'\ShockwaveFlash.ShockwaveFlash\CLSID' /ve /t REG_SZ /d "$clsid" /f >/dev/null 2>&1 9>&-
}

# Web addresses that the launcher hands to the shell go to the stand-in opener
# (testbed/UrlOpener.cpp), not to a browser of the machine that runs the tests.
wxlm_register_url_opener() {
  local exe scheme
  exe="Z:$(printf '%s' "$wxlm_build_dir/testbed/url_opener.exe" | tr / '\\')"
  for scheme in http https; do
    wine reg add 'HKLM\Software\Classes\'"$scheme"'\shell\open\command' /ve /t REG_SZ /d "\"$exe\" \"%1\"" /f >/dev/null 2>&1 9>&-
  done
}

# Creates the prefix once; concurrent callers wait on the lock. The lock's fd is
# closed for every command run inside it, or Wine's daemons would inherit it.
wxlm_make_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9 || exit 1
    wxlm_prefix_ready && exit 0
    rm -rf "$WINEPREFIX"
    if [ "$WINEARCH" = win64 ]; then wxlm_wineboot_64; else wineboot -i >/dev/null 2>&1 9>&-; fi
    # No window manager under Xvfb: unmanaged windows spare Wine a 2 s wait on every hide.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 9>&-
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 9>&-
    wxlm_font_replacements
    wxlm_register_portal_browser
    wxlm_register_flash_standin
    wxlm_register_url_opener
    wineserver -w 9>&-
    touch "$WINEPREFIX/.wxlm-ready-$wxlm_prefix_version"
  ) 9>"$WINEPREFIX.lock"
}
