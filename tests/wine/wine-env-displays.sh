#!/usr/bin/env bash
# Two test environments brought up at the same moment take X displays of their own, and the "down" of
# one leaves the other's X server running: wine-env-displays.sh scripts/wine-env.sh WORK-DIR
set -euo pipefail
env_sh=${1:?wine-env.sh}; a=${2:?work directory}/a; b=$2/b
trap '"$env_sh" down "$a"; "$env_sh" down "$b"' EXIT
for round in 1 2 3 4 5; do
  "$env_sh" x "$a" >/dev/null & first=$!
  "$env_sh" x "$b" >/dev/null & second=$!
  if ! wait "$first" || ! wait "$second"; then echo "round $round: an X server did not start" >&2; exit 1; fi
  da=:$(cat "$a/display") db=:$(cat "$b/display")
  [ "$da" != "$db" ] || { echo "round $round: both environments took display $da" >&2; exit 1; }
  "$env_sh" down "$a"
  DISPLAY=$db xdotool getdisplaygeometry >/dev/null ||
    { echo "round $round: the down of display $da ended the X server of $db" >&2; exit 1; }
  "$env_sh" down "$b"
done
echo "two environments at once, five times: each on a display of its own"
