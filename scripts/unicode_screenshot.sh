#!/usr/bin/env bash
# Screenshot of Unicode output: davrin.exe with "Unicode output" on and no
# script module, Wine's notepad in a Noto font, a few Hindi, Bengali, Tamil
# and Malayalam words typed with the Inscript keys, one language a line.
#
#   scripts/unicode_screenshot.sh [FILE]     (default docs/unicode-notepad.png)
set -euo pipefail
export NK_WINEPREFIX="${NK_RUN_PREFIX:-${NK_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build}/win64/runprefix}"
source "$(dirname "$0")/common.sh"
shot="$(realpath -m "${1:-$ROOT/docs/unicode-notepad.png}")"
bin="$NK_BUILD/win64/bin"
[ -f "$bin/davrin.exe" ] && [ -f "$bin/unicode_notepad.exe" ] || "$ROOT/scripts/build.sh"
python3 "$ROOT/tests/unicode/make_iscii_expected.py" "$bin/unicode_words" --typing
start_xvfb
trap stop_session EXIT INT TERM
prepare_prefix
bash "$ROOT/tests/unicode/notepad_unicode.sh" "$bin" 6 --screenshot "$shot"
