# Sourced: the environment of the private Wine prefix of a build tree.
#   source scripts/wine-env.sh <build dir>
# Defines wxlm_prefix_ready and wxlm_make_prefix.

wxlm_build_dir=$1
export WINEPREFIX="$1/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono and Gecko installers: Wine's browser object still answers without them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Pinned so that the ANSI code page is 1252 on every machine.
export LC_ALL=C.UTF-8
export LANG=C.UTF-8
unset LANGUAGE
export USER=${USER:-root}

# Bump when the prefix's preparation changes: older prefixes are made anew.
wxlm_prefix_version=4
wxlm_prefix_ready() { [ -f "$WINEPREFIX/.wxlm-ready-$wxlm_prefix_version" ]; }

# The skins name Chinese fonts Wine does not have; the CJK font from Debian stands in for them.
wxlm_font_replacements() {
  local face
  for face in 微软雅黑 'Microsoft YaHei'; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 9>&-
  done
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

# Creates the prefix once; concurrent callers wait on the lock. The lock's fd is
# closed for every command run inside it, or Wine's daemons would inherit it.
wxlm_make_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9 || exit 1
    wxlm_prefix_ready && exit 0
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 9>&-
    # No window manager under Xvfb: unmanaged windows spare Wine a 2 s wait on every hide.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 9>&-
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 9>&-
    wxlm_font_replacements
    wxlm_register_portal_browser
    wineserver -w 9>&-
    touch "$WINEPREFIX/.wxlm-ready-$wxlm_prefix_version"
  ) 9>"$WINEPREFIX.lock"
}
