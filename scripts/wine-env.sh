#!/usr/bin/env bash
# Brings a deterministic Wine environment up or down for one build tree:
#   wine-env.sh up DIR    virtual X server, prefix DIR/prefix (made once), persistent wineserver,
#                         language table and classic system colours imported; DIR/env holds the exports
#   wine-env.sh down DIR  ends that wineserver and X server
#   wine-env.sh x DIR     only the virtual X server of "up" (its display in DIR/display), for a test
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
    # Only the X server this environment started: a number the system has since given to another
    # process is left alone.
    pid=$(cat "$dir/xvfb.pid")
    if [ "$(tr '\0' '\n' 2>/dev/null <"/proc/$pid/cmdline" | head -n 1)" = Xvfb ]; then kill "$pid" || true; fi
    rm -f "$dir/xvfb.pid"
  fi
  rm -f "$dir/env" "$dir/display"
}

fail() { echo "wine-env.sh $cmd $dir: $*" >&2; exit 1; }

# Runs a step up to three times: now and then a Wine program ends at once with exit code 1 and no
# output at all as another program of the session starts or ends. A step that fails every time ends
# the script, naming it with its last exit code and output.
step() {
  local what=$1 log=$dir/step.log code=0
  shift
  for _ in 1 2 3; do
    "$@" </dev/null >"$log" 2>&1 && { rm -f "$log"; return 0; }
    code=$?
  done
  fail "$what failed three times (exit $code): $(cat "$log")"
}

# A new wineserver session: the programs that keep system state of the last one end with it. The
# new server refuses to start (exit 2) while one of the prefix still runs (a program that started one
# after the old one ended): ended again and tried once more. The first program of the session hands
# its output on to Wine's background services, which keep it open: it goes nowhere.
new_session() {
  local code=0 what=
  for _ in 1 2 3; do
    "$W/wineserver64" -k >/dev/null 2>&1 || true
    "$W/wineserver64" -w >/dev/null 2>&1 || true
    if "$W/wineserver64" -p </dev/null >/dev/null 2>&1; then
      "$W/wine64" cmd /c exit </dev/null >/dev/null 2>&1 && return 0
      code=$?
      what="the new session's first program (wine64 cmd /c exit)"
    else
      code=$?
      what="a new persistent wineserver (wineserver64 -p)"
    fi
  done
  fail "$what failed three times (exit $code)"
}

# The colours as "up" set them, saved before another scheme replaces them: "classic" and the next
# "up" bring back every value, also those that classic-colors.reg does not name.
saved_colors=$dir/colors-classic.reg
restore_colors() {
  if [ -f "$saved_colors" ]; then
    step "reg import of $saved_colors" "$W/wine64" reg import "Z:${saved_colors//\//\\}"
  fi
}

# A virtual X server on a display it chooses itself: it takes the first number that is free as it
# binds it (-displayfd), so that two environments starting at the same moment never share one.
start_x() {
  rm -f "$dir/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" </dev/null >/dev/null \
    2>"$dir/xvfb.log" &
  local pid=$!
  echo "$pid" >"$dir/xvfb.pid"
  for _ in $(seq 100); do
    if [ -s "$dir/display" ] || ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  [ -s "$dir/display" ] || fail "Xvfb did not start: $(cat "$dir/xvfb.log")"
  display=:$(head -n 1 "$dir/display")
}

case "$cmd" in
down) stop_all; exit 0 ;;
x) stop_all; start_x; echo "X server up: DISPLAY=$display"; exit 0 ;;
dpi|colors)
  [ -f "$dir/env" ] || { echo "no Wine environment in $dir" >&2; exit 1; }
  # shellcheck disable=SC1091
  { . "$dir/env"; } 2>/dev/null
  if [ "$cmd" = dpi ]; then
    dpi=${3:?DPI}
    step "reg add of LogPixels $dpi" "$W/wine64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
      /d "$dpi" /f
  elif [ "${3:?classic or a scheme of tests/wine/colors}" = classic ]; then
    restore_colors
  else
    reg=$(cd "$here/../tests/wine/colors" && pwd)/$3.reg
    [ -f "$reg" ] || { echo "no colour scheme $reg" >&2; exit 1; }
    [ -f "$saved_colors" ] || step "reg export of the colours to $saved_colors" \
      "$W/wine64" reg export 'HKCU\Control Panel\Colors' "Z:${saved_colors//\//\\}" /y
    step "reg import of $reg" "$W/wine64" reg import "Z:${reg//\//\\}"
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
  start_x
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
  step "reg import of $reg" "$W/wine64" reg import "Z:${reg//\//\\}"
done
# The first program of a session applies the prefix's theme into volatile system parameters, which
# outrank the colours just imported: a new wineserver session starts without them.
new_session
echo "wine environment up: DISPLAY=$display WINEPREFIX=$WINEPREFIX"
