#!/usr/bin/env bash
# Brings a deterministic Wine environment up or down for one build tree:
#   wine-env.sh up DIR    virtual X server, prefix DIR/prefix (made once), persistent wineserver,
#                         language table and classic system colours imported; DIR/env holds the exports
#   wine-env.sh down DIR  ends that wineserver and X server
#   wine-env.sh dpi DIR N sets the display's DPI to N (96 is 100 %, 144 is 150 %) for the programs
#                         started from then on
#   wine-env.sh colors DIR SCHEME  the system colours of tests/wine/colors/SCHEME.reg (hc-black,
#                         hc-white, hc-1, hc-2), or "classic" for the ones set up, for the programs
#                         started from then on
# With WINE_ENV_DISPLAY set (a real display), no virtual X server is started.
# With WINE_ENV_MANAGED=1 the window manager keeps Wine's windows (moving, decorations); otherwise
# Wine draws their frames itself, as the tests want on a display without a window manager.
set -euo pipefail
cmd=${1:?up or down}; dir=$(mkdir -p "${2:?directory}" && cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
W=/usr/lib/wine

stop_all() {
  if [ -f "$dir/env" ]; then
    # shellcheck disable=SC1091
    { . "$dir/env"; } 2>/dev/null
    "$W/wineserver64" -k >/dev/null 2>&1 || true
    "$W/wineserver64" -w >/dev/null 2>&1 || true
  fi
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" >/dev/null 2>&1 || true
    rm -f "$dir/xvfb.pid"
  fi
  rm -f "$dir/env"
}

# A new wineserver session: the programs that keep system state of the last one end with it.
new_session() {
  "$W/wineserver64" -k >/dev/null 2>&1 || true
  "$W/wineserver64" -w >/dev/null 2>&1 || true
  "$W/wineserver64" -p </dev/null >/dev/null 2>&1
  "$W/wine64" cmd /c exit </dev/null >/dev/null 2>&1
}

# The colours as "up" set them, saved before another scheme replaces them: "classic" and the next
# "up" bring back every value, also those that classic-colors.reg does not name.
saved_colors=$dir/colors-classic.reg
restore_colors() {
  if [ -f "$saved_colors" ]; then
    "$W/wine64" reg import "Z:${saved_colors//\//\\}" </dev/null >/dev/null 2>&1
  fi
}

case "$cmd" in
down) stop_all; exit 0 ;;
dpi|colors)
  [ -f "$dir/env" ] || { echo "no Wine environment in $dir" >&2; exit 1; }
  # shellcheck disable=SC1091
  { . "$dir/env"; } 2>/dev/null
  if [ "$cmd" = dpi ]; then
    dpi=${3:?DPI}
    "$W/wine64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
  elif [ "${3:?classic or a scheme of tests/wine/colors}" = classic ]; then
    restore_colors
  else
    reg=$(cd "$here/../tests/wine/colors" && pwd)/$3.reg
    [ -f "$reg" ] || { echo "no colour scheme $reg" >&2; exit 1; }
    [ -f "$saved_colors" ] || "$W/wine64" reg export 'HKCU\Control Panel\Colors' \
      "Z:${saved_colors//\//\\}" /y </dev/null >/dev/null 2>&1
    "$W/wine64" reg import "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
  fi
  # Programs read the DPI and the colours when they start, but within a running session (its desktop
  # process lives on) another program then read a system-aware window's rectangles scaled by the old
  # DPI, and the colours stay those the session read: a new session.
  new_session
  exit 0 ;;
up) ;;
*) echo "usage: $0 up|down DIR, dpi DIR N, or colors DIR SCHEME" >&2; exit 2 ;;
esac

stop_all   # a run that was cut short may have left its servers behind

if [ -n "${WINE_ENV_DISPLAY:-}" ]; then
  display=$WINE_ENV_DISPLAY
else
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  display=:$n
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/xvfb.pid"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start on $display" >&2; exit 1; }
fi

# No debugger: a program that crashes ends at once, after Wine's line naming the exception, rather
# than being held by winedbg until its test's time limit.
cat >"$dir/env" <<ENV
export DISPLAY=$display
export WINEPREFIX=$dir/prefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export LC_ALL=\${LC_ALL-C.UTF-8}
ENV
# shellcheck disable=SC1091
{ . "$dir/env"; } 2>/dev/null

# Wine's background services inherit the first program's output: start them with it discarded,
# so that later programs can be read through pipes.
mkdir -p "$WINEPREFIX"   # the wineserver works inside the prefix directory
"$W/wineserver64" -p </dev/null >/dev/null 2>&1
# The registry files appear only when the wineserver saves them: a marker says the prefix is made.
if [ ! -f "$dir/prefix.made" ]; then
  "$W/wine64" wineboot -i </dev/null >/dev/null 2>&1
  touch "$dir/prefix.made"
fi
# The caption's close box is a glyph of Marlett, which a new prefix lacks (Wine then draws the letter
# "r"): Wine's own copy, from the package fonts-wine, as a Windows machine has it.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
restore_colors   # a run cut short may have left another scheme behind
for reg in "$here"/../tests/wine/*.reg; do
  if [ "${WINE_ENV_MANAGED:-0}" = 1 ] && [ "$(basename "$reg")" = x11-driver.reg ]; then
    "$W/wine64" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f </dev/null >/dev/null 2>&1 || true
    continue
  fi
  reg=$(cd "$(dirname "$reg")" && pwd)/$(basename "$reg")
  "$W/wine64" reg import "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
done
# The first program of a session applies the prefix's theme into volatile system parameters, which
# outrank the colours just imported: a new wineserver session starts without them.
new_session
echo "wine environment up: DISPLAY=$display WINEPREFIX=$WINEPREFIX"
