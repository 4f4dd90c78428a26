#!/usr/bin/env bash
# Runs a Windows program in the Wine environment of a build tree: wine-exec.sh DIR PROGRAM [ARGS...]
set -euo pipefail
dir=${1:?wine environment directory}; shift
if [ ! -f "$dir/env" ]; then
  echo "no Wine environment in $dir: run 'scripts/wine-env.sh up $dir' (ctest does so itself)" >&2
  exit 1
fi
# shellcheck disable=SC1091
. "$dir/env"
exec /usr/lib/wine/wine64 "$@"
