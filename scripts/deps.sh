#!/usr/bin/env bash
# Installs what the build and the tests need and is not on this machine yet (Debian).
set -euo pipefail
need=(cmake g++ make libgtest-dev libbenchmark-dev googletest
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine64 fonts-wine xvfb xauth xdotool imagemagick fonts-liberation python3 libxfixes3
      clang libclang-rt-14-dev locales
      openssl osslsigncode libengine-pkcs11-openssl softhsm2)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Linux locales for the run command's languages and for the code-page tests. Wine takes the system
# code page from LC_CTYPE and the user's language from LC_MESSAGES only for generated locales, and
# opens a path with non-ASCII characters only under a generated UTF-8 locale.
for l in de_DE en_US da_DK it_IT fi_FI nb_NO sv_SE ru_RU ja_JP; do
  locale -a 2>/dev/null | grep -qx "$l.utf8" || $SUDO localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
