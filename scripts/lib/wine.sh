# Sourced by the scripts that run show.exe under Wine (scripts/windows.sh, the
# Windows test, the Windows frame log).
# wine_prefix <dir> makes <dir> a Wine prefix and exports WINEPREFIX and the
# settings every run shares; the first time takes 10 to 20 s and 700 MB. Two
# Wine processes that start together on a missing prefix both fail, so it is
# made here, first, and waited for. wine_done ends the prefix's wineserver,
# which outlives the programs it served.
wine_prefix() {
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all
  # Wine's Mono and Gecko are not needed (their installers would ask). Nor is
  # its debugger: started for a program that crashes, it would hold that
  # program's pipes and the wineserver open, and whoever waits on them would
  # wait forever; without it the program ends, and its status says so.
  export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
  fi
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "error: no Wine prefix in $WINEPREFIX" >&2; return 1; }
}

wine_done() { [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true; }
