#!/usr/bin/env bash
# Start-up benchmark, run by hand: Teleskarn.exe against the floor (its dialog template shown with
# DialogBoxParamA and nothing else), each started alternately RUNS times (default 15) under Wine and
# timed from CreateProcess to its first visible window. Prints every time, both medians and the ratio.
#   bench/startup/run.sh [RUNS]
# Uses a Wine environment of its own (build/bench-wine) and ends it afterwards.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
runs=${1:-15}

scripts/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target Teleskarn startup_floor startup_timer >/dev/null

# Each program in a folder of its own, as installed.
work=$root/build/bench-run
rm -rf "$work"
mkdir -p "$work/floor" "$work/launcher"
cp build/windows/startup_floor.exe "$work/floor/"
cp build/windows/Teleskarn.exe "$work/launcher/"

envdir=$root/build/bench-wine
trap 'scripts/wine-env.sh down "$envdir" >/dev/null 2>&1 || true' EXIT
scripts/wine-env.sh up "$envdir" >/dev/null
win() { local p="Z:$1"; echo "${p//\//\\}"; }
# The timer and the programs it starts share one core: on an idle two-core machine a new Wine process
# otherwise comes up in one of two modes about 20 ms apart, at random, and the medians jump with the mix.
taskset -c 1 scripts/wine-exec.sh "$envdir" build/windows/startup_timer.exe "$runs" \
  "$(win "$work/floor/startup_floor.exe")" "$(win "$work/launcher/Teleskarn.exe")"
