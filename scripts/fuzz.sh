#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [seconds-per-target] [target-name-filter]
set -euo pipefail
source "$(dirname "$0")/common.sh"
seconds="${1:-60}"
filter="${2:-}"
dir="$NK_BUILD/fuzz"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$dir" -DNK_FUZZ=ON -DNK_STAGE_DATA="$dir/data" >/dev/null
cmake --build "$dir" -j "${NK_JOBS:-2}"
status=0
for target in $(find "$dir" -maxdepth 3 -type f -perm -u+x -name 'fuzz_*' | sort); do
  name=$(basename "$target")
  [ -n "$filter" ] && [[ "$name" != *"$filter"* ]] && continue
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  seeds="$ROOT/tests/fuzz/seeds/$name"
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" \
      $( [ -d "$seeds" ] && echo "$seeds" ) 2>"$dir/$name.log"; then
    echo "$name: FINDING (see $dir/$name.log and crash-* files)"
    status=1
  fi
  grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$dir/$name.log" | tail -n 2
done
exit $status
