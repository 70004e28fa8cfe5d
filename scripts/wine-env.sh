# Sourced by ./test, ./run, the benchmark and scripts/wine-run: one Wine prefix inside the build folder,
# one persistent wineserver for the whole run, and an Xvfb display for the GUI tests. Wine runs from
# the folder that scripts/setup-wine32.sh makes: its wine64 starts 64-bit programs itself and 32-bit
# ones (the shipped build) through the i386 loader under qemu-i386, sharing one wineserver and prefix.
# With TIMROSE_WINE32=off (a failed 32-bit set-up) the host's wine64 runs the 64-bit programs alone.
# Usage: source scripts/wine-env.sh; wine_start [display]; ...; "$WINE64" prog.exe; ...; wine_stop

TIMROSE_ROOT=${TIMROSE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$TIMROSE_ROOT/build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINE64=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
TIMROSE_XVFB_PID=
TIMROSE_WINE_LOGS=$TIMROSE_ROOT/build/logs

# Points WINE64 and WINESERVER at the folder of both loaders, setting it up on first use.
wine_loaders() {
  local dir
  [ "${TIMROSE_WINE32:-}" != off ] || return 0
  dir=$(bash "$TIMROSE_ROOT/scripts/setup-wine32.sh") || return 1
  export WINE64=$dir/wine64 WINESERVER=$dir/wineserver
}

# Two marks in the prefix: one that wineboot finished making it, one with the stamp of the settings
# last written into it.
TIMROSE_PREFIX_MADE=.timrose-ready
TIMROSE_PREFIX_SETTINGS=.timrose-settings

# A prefix made before the 32-bit side existed has no 32-bit system folder, and an update does not
# add one: the project's own prefix is then made afresh.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/$TIMROSE_PREFIX_MADE" ] &&
    { [ "${TIMROSE_WINE32:-}" = off ] || [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; }
}

# Makes the prefix when it is missing or cannot run 32-bit programs, and gives it the fonts and
# settings it lacks.
wine_prefix_init() {
  wine_prefix_ready || wine_prefix_create || return 1
  # The title bar's buttons are glyphs of Wine's own Marlett font, which Wine does not find in its data
  # folder here: without it they draw as "0 1 r".
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
  wine_prefix_settings
}

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
  mkdir -p "$WINEPREFIX" "$TIMROSE_WINE_LOGS"
  local log=$TIMROSE_WINE_LOGS/wineboot.log
  if ! "$WINE64" wineboot -i >"$log" 2>&1 || ! "$WINESERVER" -w || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-env: wineboot could not make the Wine prefix $WINEPREFIX (see $log)" >&2
    return 1
  fi
  if [ "${TIMROSE_WINE32:-}" != off ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "wine-env: wineboot made no 32-bit system folder in $WINEPREFIX (see $log)" >&2
    return 1
  fi
  touch "$WINEPREFIX/$TIMROSE_PREFIX_MADE"
}

# The prefix's own settings, written again whenever they change: a virtual desktop (no window-manager
# stall on close) and fonts that draw Chinese in the dialogs and message boxes, whose system UI fonts
# (Tahoma, MS Shell Dlg, Microsoft Sans Serif) have none. Wine 8 takes the links to the installed
# WenQuanYi below. Wine 10 writes its own links at start-up, to Windows' fonts (SimSun for Simplified
# Chinese), and takes a replacement for a font that is not installed: SimSun becomes WenQuanYi.
wine_prefix_settings() {
  local reg link cjk=WenQuanYi\ Micro\ Hei
  # REG_MULTI_SZ in regedit's hex form: the bytes of the one entry, then the terminating zeros.
  link="hex(7):$(printf 'wqy-microhei.ttc,%s' "$cjk" | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'),00,00,00"
  reg=$(
    cat <<REG
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

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"SimSun"="$cjk"
REG
  )
  local stamp
  stamp=$(md5sum <<<"$reg" | cut -d' ' -f1)
  [ "$(cat "$WINEPREFIX/$TIMROSE_PREFIX_SETTINGS" 2>/dev/null)" = "$stamp" ] && return 0
  local file
  file=$(mktemp --suffix=.reg)
  printf '%s\n' "$reg" >"$file"
  "$WINE64" regedit "$file" >/dev/null 2>&1
  local status=$?
  rm -f "$file"
  "$WINESERVER" -w
  if [ $status -ne 0 ]; then
    echo "wine-env: the prefix's settings could not be written (regedit failed)" >&2
    return 1
  fi
  echo "$stamp" >"$WINEPREFIX/$TIMROSE_PREFIX_SETTINGS"
}

# Whether an X server uses display number N here: its socket, its lock file or its abstract socket
# (those belong to the network namespace, which a chroot shares with its host).
wine_display_taken() {
  [ -e "/tmp/.X11-unix/X$1" ] || [ -e "/tmp/.X$1-lock" ] || grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

# A display number no X server uses here.
wine_free_display() {
  local n
  for n in $(seq 90 140); do
    wine_display_taken "$n" && continue
    echo ":$n"
    return 0
  done
  echo "wine-env: no free X display between :90 and :140" >&2
  return 1
}

# Starts Xvfb on a display nobody uses. Fails with one message when the display is taken or the server
# does not come up.
wine_xvfb() {
  local display=$1 n=${1#:}
  if wine_display_taken "$n"; then
    echo "wine-env: X display $display is already taken; name a free one, or none to have one chosen" >&2
    return 1
  fi
  mkdir -p "$TIMROSE_WINE_LOGS"
  local log=$TIMROSE_WINE_LOGS/xvfb-$n.log
  # Closing descriptor 8 (the lock wine_session holds) so that a server which outlives its starter
  # never keeps the lock.
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp "${@:2}" >"$log" 2>&1 8>&- &
  TIMROSE_XVFB_PID=$!
  for _ in $(seq 1 100); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && return 0
    kill -0 "$TIMROSE_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "wine-env: the X server (Xvfb) did not start on $display (see $log)" >&2
  kill "$TIMROSE_XVFB_PID" 2>/dev/null
  TIMROSE_XVFB_PID=
  return 1
}

# Starts Xvfb on the given display (default: a free one), then one persistent wineserver, and warms it
# up. With "existing" after the display, that display's running X server (the user's) is used instead.
wine_start() {
  local display=${1:-}
  wine_loaders || return 1
  wine_prefix_init || return 1
  if [ "${2:-}" = existing ]; then
    xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "wine-env: cannot open X display $display" >&2; return 1; }
  else
    [ -n "$display" ] || display=$(wine_free_display) || return 1
    wine_xvfb "$display" || return 1
  fi
  export DISPLAY=$display
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
  # One program of each bitness: the first start of each side loads far more than later ones.
  "$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null || true
  [ "${TIMROSE_WINE32:-}" = off ] || "$WINE64" 'C:\windows\syswow64\cmd.exe' /c exit >/dev/null 2>&1 </dev/null || true
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

# For a Wine program started with no session handed in (a ctest command in a new shell): the loaders,
# the prefix, a wineserver that stays a while, and an X display when there is none. The display is an
# Xvfb kept for the prefix, which ends itself a minute after its last client (the wineserver's
# desktop, which ends shortly after the last program).
wine_session() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 8>"$WINEPREFIX.lock"
  flock 8
  if ! wine_loaders; then
    echo "wine-env: without the 32-bit side, only 64-bit programs run" >&2
    export TIMROSE_WINE32=off
  fi
  wine_prefix_init || return 1
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    local kept=$WINEPREFIX/.timrose-display
    DISPLAY=$(cat "$kept" 2>/dev/null)
    if [ -z "$DISPLAY" ] || ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
      DISPLAY=$(wine_free_display) && wine_xvfb "$DISPLAY" -terminate 60 || return 1
      echo "$DISPLAY" >"$kept"
    fi
    export DISPLAY
  fi
  "$WINESERVER" -p30 >/dev/null 2>&1 </dev/null 8>&-
  # Wine's own services start with the first program and live as long as the wineserver: started by
  # this one, they keep neither the caller's output (CTest would wait for them) nor the lock.
  "$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null 8>&- || true
  exec 8>&-
}
