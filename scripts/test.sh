#!/usr/bin/env bash
# Builds everything and runs every test layer through CTest:
#   native unit tests (host compiler, sanitizers), a brief run of each fuzz target of the platform-free
#   units (clang, libFuzzer; scripts/fuzz.sh runs them longer), then the Windows build with its tests under Wine
#   (framework, controls, launcher) and the end-to-end tests of the real Teleskarn.exe.
# Installs what is missing first (Debian). Extra arguments go to every ctest run (e.g. -R Label).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

cmake --preset native >/dev/null
cmake --build --preset native -j2
ctest --preset native -j2 "$@"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2
ctest --preset fuzz -j2 "$@"

cmake --preset windows >/dev/null
cmake --build --preset windows -j2
# One Wine session and one virtual display serve the whole run; tests that move the pointer or
# change the shared registry must not overlap, so the Windows layer runs one test at a time.
ctest --preset windows "$@"
