# Sourced by ./test, ./run and the benchmark: one Wine prefix inside the build folder, one
# persistent wineserver for the whole run, and an Xvfb display for the GUI tests. Wine runs from the
# folder that scripts/setup-wine32.sh makes: its wine64 starts 64-bit programs itself and 32-bit ones
# (the shipped build) through the i386 loader under qemu-i386, sharing one wineserver and prefix.
# Usage: source scripts/wine-env.sh; wine_start [display]; ...; "$WINE64" prog.exe; ...; wine_stop

TIMROSE_ROOT=${TIMROSE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$TIMROSE_ROOT/build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINE64=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
TIMROSE_XVFB_PID=

# Points WINE64 and WINESERVER at the folder of both loaders, setting it up on first use.
wine_loaders() {
  local dir
  dir=$(bash "$TIMROSE_ROOT/scripts/setup-wine32.sh") || return 1
  export WINE64=$dir/wine64 WINESERVER=$dir/wineserver
}

# A prefix made before the 32-bit side existed has no 32-bit system folder, and an update does not
# add one: the project's own prefix is then made afresh.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/.timrose-ready" ] &&
    [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}

# Makes the prefix when it is missing or cannot run 32-bit programs, and gives it the fonts it lacks.
wine_prefix_init() {
  wine_prefix_ready || wine_prefix_create || return 1
  # The title bar's buttons are glyphs of Wine's own Marlett font, which Wine does not find in its data
  # folder here: without it they draw as "0 1 r".
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

# Creates the prefix: a virtual desktop (no window-manager stall on close) and font links so Chinese
# shows in every locale.
wine_prefix_create() {
  if [ -e "$WINEPREFIX" ]; then
    case $(realpath "$WINEPREFIX") in
      "$TIMROSE_ROOT"/build/*) rm -rf "$WINEPREFIX" ;;
      *)
        echo "wine-env: $WINEPREFIX cannot run 32-bit programs; remove it or choose another WINEPREFIX" >&2
        return 1
        ;;
    esac
  fi
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  "$WINESERVER" -w
  local reg link
  reg=$(mktemp --suffix=.reg)
  # REG_MULTI_SZ in regedit's hex form: the bytes of the one entry, then the terminating zeros.
  link="hex(7):$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'),00,00,00"
  cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1024x768"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"=$link
"MS Shell Dlg"=$link
"MS Shell Dlg 2"=$link
"Microsoft Sans Serif"=$link
REG
  "$WINE64" regedit "$reg" >/dev/null 2>&1 || true
  rm -f "$reg"
  "$WINESERVER" -w
  touch "$WINEPREFIX/.timrose-ready"
}

# Starts Xvfb on the given display (default :97) when none is running there, then one persistent
# wineserver, and warms it up.
wine_start() {
  local display=${1:-:97}
  wine_loaders || return 1
  wine_prefix_init || return 1
  if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    TIMROSE_XVFB_PID=$!
    for _ in $(seq 1 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  export DISPLAY=$display
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
  # One program of each bitness: the first start of each side loads far more than later ones.
  "$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null || true
  "$WINE64" 'C:\windows\syswow64\cmd.exe' /c exit >/dev/null 2>&1 </dev/null || true
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
