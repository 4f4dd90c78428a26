#!/usr/bin/env bash
# Builds Teleskarn.exe a second time, from a copy of the sources in another directory with a build
# tree of its own, and compares the result byte for byte with the given file:
#   check-reproducible.sh path/to/Teleskarn.exe
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
built=$(realpath "${1:?the Teleskarn.exe to compare with}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sources as they are now, without build trees.
mkdir "$work/sources"
tar -C "$src" --exclude=./.git --exclude=./build --exclude='./build-*' -cf - . | tar -C "$work/sources" -xf -
cmake -S "$work/sources" --preset windows -B "$work/other-build" >/dev/null
cmake --build "$work/other-build" -j2 --target Teleskarn >/dev/null

if cmp "$built" "$work/other-build/Teleskarn.exe"; then
  echo "the same $(stat -c %s "$built") bytes from $src and from $work/sources"
else
  echo "Teleskarn.exe differs when built in another directory" >&2
  exit 1
fi
