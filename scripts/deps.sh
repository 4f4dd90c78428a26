#!/usr/bin/env bash
# Installs what the build and the tests need and is not on this machine yet (Debian).
set -euo pipefail
need=(cmake g++ make libgtest-dev libbenchmark-dev googletest
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine64 fonts-wine xvfb xauth xdotool imagemagick fonts-liberation python3
      clang libclang-rt-14-dev)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
