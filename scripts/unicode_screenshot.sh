#!/usr/bin/env bash
# Screenshot of Unicode output: davrin.exe with "Unicode output" on and no
# script module, Wine's notepad, a few Hindi, Bengali, Tamil and Malayalam
# words typed with the Inscript keys. Wine's notepad shows one face, and a
# Noto face has one script, so each language is typed into notepad in its
# own Noto face and the four windows are stacked into one picture.
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
parts=()
for language in "hi:F2:Devanagari" "bn:F3:Bengali" "ta:F4:Tamil" "ml:F9:Malayalam"; do
  lang="${language%%:*}"
  part="$NK_BUILD/unicode-notepad-$lang.png"
  NK_UNICODE_LANGS="${language%:*}" NK_NOTEPAD_FACE="Noto Sans ${language##*:}" \
    bash "$ROOT/tests/unicode/notepad_unicode.sh" "$bin" 6 --screenshot "$part"
  # The typed lines only: the top of the window, its title and menu included.
  convert "$part" -crop "$(identify -format %w "$part")x130+0+0" +repage "$part"
  parts+=("$part")
done
mkdir -p "$(dirname "$shot")"
convert "${parts[@]}" -append +repage "$shot"
echo "screenshot: $shot"
