#!/usr/bin/env bash
# Runs a Windows program in the Wine environment of a build tree: wine-exec.sh DIR PROGRAM [ARGS...]
set -euo pipefail
dir=${1:?wine environment directory}; shift
if [ ! -f "$dir/env" ]; then
  echo "no Wine environment in $dir: run 'scripts/wine-env.sh up $dir' (ctest does so itself)" >&2
  exit 1
fi
# The env file exports LC_ALL; bash warns when that locale is not installed here, which does not
# matter to Wine (it reads the name itself).
# shellcheck disable=SC1091
{ . "$dir/env"; } 2>/dev/null
# An empty LC_ALL given by the caller leaves the code page to LC_CTYPE and the language to
# LC_MESSAGES (Wine reads them apart only for locales generated here).
[ -n "$LC_ALL" ] || unset LC_ALL
# A test may ask for other library load orders besides the environment's (the debugger stays off).
if [ -n "${WINE_EXEC_DLLOVERRIDES:-}" ]; then export WINEDLLOVERRIDES="$WINE_EXEC_DLLOVERRIDES;$WINEDLLOVERRIDES"; fi
exec /usr/lib/wine/wine64 "$@"
