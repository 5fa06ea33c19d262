#!/usr/bin/env bash
# Every suite: the native tests, then the Windows tests under Wine on a private
# Xvfb display that is always stopped again. Ends with "N passed, N failed".
set -uo pipefail
source "$(dirname "$0")/common.sh"
"$ROOT/scripts/build.sh" || { echo "0 passed, 1 failed"; exit 1; }

logs="$NK_BUILD/test-logs"
mkdir -p "$logs"
trap stop_session EXIT INT TERM

# The native tests (rendering checks mostly) run two at a time; the Windows
# tests share one Wine desktop and take turns.
ctest --test-dir "$NK_BUILD/native" --output-on-failure --timeout 600 -j "${NK_JOBS:-2}" 2>&1 |
  tee "$logs/native.log"

start_xvfb || { echo "0 passed, 1 failed"; exit 1; }
prepare_prefix
ctest --test-dir "$NK_BUILD/win64" --output-on-failure --timeout 300 2>&1 | tee "$logs/wine.log"
stop_session

passed=0
failed=0
for log in "$logs/native.log" "$logs/wine.log"; do
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    # A suite that did not report, or found no tests, counts as a failure:
    # an empty tree must not pass.
    failed=$((failed + 1))
    continue
  fi
  total=$(echo "$line" | sed -E 's/.*out of ([0-9]+).*/\1/')
  bad=$(echo "$line" | sed -E 's/.*tests passed, ([0-9]+) tests? failed.*/\1/')
  passed=$((passed + total - bad))
  failed=$((failed + bad))
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
