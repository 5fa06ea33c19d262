#!/usr/bin/env bash
# Builds the three trees: native (portable code, tools, data files), win64
# and win32 (the deliverables). Warnings are errors in all three.
set -euo pipefail
source "$(dirname "$0")/common.sh"
jobs="${NK_JOBS:-2}"
cmake -S "$ROOT" -B "$NK_BUILD/native" -DNK_STAGE_DATA="$NK_BUILD/data" >/dev/null
cmake --build "$NK_BUILD/native" -j "$jobs"
for arch in win64:mingw-x86_64 win32:mingw-i686; do
  dir="${arch%%:*}"
  tc="${arch##*:}"
  cmake -S "$ROOT" -B "$NK_BUILD/$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$tc.cmake" \
    -DNK_STAGE_DATA="$NK_BUILD/data" >/dev/null
  cmake --build "$NK_BUILD/$dir" -j "$jobs"
done
echo "built: $NK_BUILD/native, $NK_BUILD/win64/bin, $NK_BUILD/win32/bin"
