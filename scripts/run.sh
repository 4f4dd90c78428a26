#!/usr/bin/env bash
# Builds Teleskarn.exe and starts it under Wine in a prepared prefix (language table and classic
# system colours imported), in the language LC_ALL names (e.g. LC_ALL=de_DE.UTF-8).
#   --gallery                   the controls gallery (Gallery.exe) instead of the launcher, with the
#                               same options; its screenshot shows the pointer resting on its tooltip
#                               button (default build/screenshots/gallery.png)
#   run.sh                      with a display (DISPLAY set): the dialog is there to use; the script
#                               ends when the launcher does
#   run.sh [--screenshot PNG]   without a display: a virtual X server; the dialog is saved as a PNG
#                               (default build/screenshots/teleskarn-LANG.png), its path printed, and
#                               the dialog closed with Escape
#   --dpi N                     either way, the display at N DPI: 96 is 100 % (the default), 120
#                               125 %, 144 150 %, 192 200 %
#   --colors SCHEME             either way, the system colours of tests/wine/colors/SCHEME.reg set
#                               before the start: hc-black, hc-white, hc-1, hc-2 (High Contrast Black,
#                               White, #1, #2); classic (the default) the ones the tests use
# Installs what is missing first (Debian).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

shot=
dpi=96
program=Teleskarn
colors=classic
while [ $# -gt 0 ]; do
  case "$1" in
  --screenshot) shot=${2:?path}; shift 2 ;;
  --dpi) dpi=${2:?DPI}; shift 2 ;;
  --colors) colors=${2:?scheme}; shift 2 ;;
  --gallery) program=Gallery; shift ;;
  *) echo "usage: $0 [--gallery] [--screenshot PNG] [--dpi N] [--colors SCHEME]" >&2; exit 2 ;;
  esac
done

scripts/deps.sh
cmake --preset windows >/dev/null
targets=$program
[ "$program" = Teleskarn ] || targets="$program e2e_driver"   # the driver finds the tooltip button
# shellcheck disable=SC2086
cmake --build --preset windows -j2 --target $targets

lc=${LC_ALL:-C.UTF-8}
# bash warns about a locale this machine has not generated; Wine reads the name itself
export LC_ALL=$lc 2>/dev/null
envdir=$root/build/run-wine
# The launcher gets a folder of its own, as it would be installed: only what lies beside it counts.
appdir=$root/build/run-app
[ "$program" = Teleskarn ] || appdir=$root/build/run-gallery
mkdir -p "$appdir"
cp "build/windows/$program.exe" "$appdir/"

trap 'scripts/wine-env.sh down "$envdir" >/dev/null 2>&1 || true' EXIT

if [ -n "${DISPLAY:-}" ] && [ -z "$shot" ]; then
  WINE_ENV_DISPLAY=$DISPLAY WINE_ENV_MANAGED=1 scripts/wine-env.sh up "$envdir" >/dev/null
  [ "$dpi" = 96 ] || scripts/wine-env.sh dpi "$envdir" "$dpi"
  [ "$colors" = classic ] || scripts/wine-env.sh colors "$envdir" "$colors"
  scripts/wine-exec.sh "$envdir" "$appdir/$program.exe"
  exit 0
fi

lang=${lc%%.*}
name=teleskarn-${lang:-C}
[ "$program" = Teleskarn ] || name=gallery
shot=${shot:-$root/build/screenshots/$name$([ "$dpi" = 96 ] || echo "-${dpi}dpi")$([ "$colors" = classic ] || echo "-$colors").png}
mkdir -p "$(dirname "$shot")"
shot=$(cd "$(dirname "$shot")" && pwd)/$(basename "$shot")

unset WINE_ENV_DISPLAY
scripts/wine-env.sh up "$envdir" >/dev/null
[ "$dpi" = 96 ] || scripts/wine-env.sh dpi "$envdir" "$dpi"
[ "$colors" = classic ] || scripts/wine-env.sh colors "$envdir" "$colors"
# shellcheck disable=SC1091
{ . "$envdir/env"; } 2>/dev/null
scripts/wine-exec.sh "$envdir" "$appdir/$program.exe" &
launcher=$!

# Wine names the X window's class after the program; the dialog is its only visible window.
win=
for _ in $(seq 300); do
  win=$(xdotool search --onlyvisible --class "${program,,}.exe" 2>/dev/null | head -n1 || true)
  [ -n "$win" ] && break
  if ! kill -0 "$launcher" 2>/dev/null; then echo "$program.exe ended without a window" >&2; exit 1; fi
  sleep 0.1
done
[ -n "$win" ] || { echo "no dialog appeared within 30 s" >&2; kill "$launcher"; exit 1; }
sleep 1   # the first paint, the background stretched and the button faces generated
if [ "$program" = Gallery ]; then
  # The pointer on the tooltip button (1120), near its left end (the tip opens to the right), found by the end-to-end driver (its report read from
  # a file: a pipe may be held open by Wine's own processes); the tooltip shows after a rest.
  report=$appdir/controls.json
  scripts/wine-exec.sh "$envdir" build/windows/tests/e2e/e2e_driver.exe controls \
    --exe "Z:${appdir//\//\\}\\Gallery.exe" >"$report" 2>/dev/null
  # shellcheck disable=SC2046
  xdotool mousemove $(python3 -c 'import json, sys; r = json.load(open(sys.argv[1]))["controls"]["1120"]["rect"]
print(r[0] + 12, (r[1] + r[3]) // 2)' "$report")
  sleep 2
fi

import -window root -crop "$(xdotool getwindowgeometry --shell "$win" |
  awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{printf "%dx%d+%d+%d", w, h, x, y}')" \
  +repage "$shot"
echo "$shot"

xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus --sync "$win" >/dev/null 2>&1 || true
# The dialog closes on the key's press; the release may then find its window gone.
xdotool key --window "$win" Escape 2>/dev/null || true
for _ in $(seq 300); do kill -0 "$launcher" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$launcher" 2>/dev/null; then
  echo "the dialog did not close on Escape" >&2
  kill "$launcher"
  exit 1
fi
wait "$launcher"
