# Sourced by ./test, ./run and the benchmark: one Wine prefix inside the build folder, one
# persistent wineserver for the whole run, and an Xvfb display for the GUI tests.
# Usage: source scripts/wine-env.sh; wine_start [display]; ...; wine_stop

TIMROSE_ROOT=${TIMROSE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$TIMROSE_ROOT/build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINE64=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
TIMROSE_XVFB_PID=

wine_prefix_ready() { [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/.timrose-ready" ]; }

# Creates the prefix once: a virtual desktop (no window-manager stall on close) and font links so
# Chinese shows in every locale.
wine_prefix_init() {
  wine_prefix_ready && return 0
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  "$WINESERVER" -w
  local reg
  reg=$(mktemp --suffix=.reg)
  local link='"wqy-microhei.ttc,WenQuanYi Micro Hei"'
  cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1024x768"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"=hex(7):$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'),00,00,00
"MS Shell Dlg"=hex(7):$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'),00,00,00
"MS Shell Dlg 2"=hex(7):$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'),00,00,00
"Microsoft Sans Serif"=hex(7):$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'),00,00,00
REG
  "$WINE64" regedit "$reg" >/dev/null 2>&1 || true
  rm -f "$reg"
  "$WINESERVER" -w
  touch "$WINEPREFIX/.timrose-ready"
  : "$link"
}

# Starts Xvfb on the given display (default :97) when none is running there, then one persistent
# wineserver, and warms it up.
wine_start() {
  local display=${1:-:97}
  wine_prefix_init
  if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    TIMROSE_XVFB_PID=$!
    for _ in $(seq 1 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  export DISPLAY=$display
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
  "$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

wine_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$TIMROSE_XVFB_PID" ]; then
    kill "$TIMROSE_XVFB_PID" >/dev/null 2>&1 || true
    wait "$TIMROSE_XVFB_PID" 2>/dev/null || true
    TIMROSE_XVFB_PID=
  fi
}
