#!/usr/bin/env bash
# Cost of a key-down in the hook under Wine (tests/compose/compose_bench.cpp):
#   scripts/bench.sh [iterations] [REV]
# With REV (a commit, e.g. the one before a change), the driver of REV is
# built too and both run side by side in one Wine session: the same bench
# program, each beside its own nelkor.dll.
set -euo pipefail
source "$(dirname "$0")/common.sh"
iterations="${1:-2000}"
rev="${2:-}"
cmake --build "$NK_BUILD/win64" -j "${NK_JOBS:-2}" --target compose_bench nelkor DVTROP32 \
  test_typewriter test_typewriter_layout >/dev/null

folders=("$NK_BUILD/win64/bin")
if [ -n "$rev" ]; then
  src="$NK_BUILD/bench-src"
  base="$NK_BUILD/bench-base"
  rm -rf "$src"
  mkdir -p "$src"
  git -C "$ROOT" archive "$rev" | tar -x -C "$src"
  cmake -S "$src" -B "$base/build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-x86_64.cmake" \
    -DNK_STAGE_DATA="$NK_BUILD/data" >/dev/null
  cmake --build "$base/build" -j "${NK_JOBS:-2}" --target nelkor >/dev/null
  run="$base/run"
  rm -rf "$run"
  mkdir -p "$run/testmods"
  cp "$NK_BUILD/win64/bin/compose_bench.exe" "$NK_BUILD/win64/bin/"*.BIN \
     "$NK_BUILD/win64/bin/"*.RUL "$NK_BUILD/win64/bin/DVTROP32.DLL" "$run/"
  cp "$NK_BUILD/win64/bin/"lib*.dll "$run/" 2>/dev/null || true
  cp "$NK_BUILD/win64/bin/testmods/DVAKBD32."* "$run/testmods/"
  cp "$base/build/bin/nelkor.dll" "$run/"
  folders=("$run" "$NK_BUILD/win64/bin")
fi

trap stop_session EXIT INT TERM
start_xvfb
prepare_prefix
for folder in "${folders[@]}"; do
  echo "== $folder"
  (cd "$folder" && $WINE64 compose_bench.exe "$iterations")
done
