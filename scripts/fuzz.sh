#!/usr/bin/env bash
# Runs every fuzz target of the platform-free units for SECONDS each (default 600), one after the
# other at low priority, from its committed seeds plus a working corpus kept in build/fuzz/corpus.
# Prints the executions of each run; a finding stops the script with the target's report and
# leaves its input in build/fuzz/findings/. Extra arguments name the targets to run (default all).
#   scripts/fuzz.sh 600                   # ten minutes each
#   scripts/fuzz.sh 60 texture strings
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(pixel_canvas texture draw_button strings)

scripts/deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

mkdir -p build/fuzz/findings
for t in "${targets[@]}"; do
  work=build/fuzz/corpus/$t
  mkdir -p "$work"
  log=build/fuzz/$t.log
  echo "== $t: $seconds s"
  if ! nice -n 10 "build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="build/fuzz/findings/$t-" "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "== $t: FINDING (input in build/fuzz/findings/, log $log)"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$log"
done
