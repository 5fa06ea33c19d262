#!/usr/bin/env bash
# Types two words of each of Bengali, Assamese, Oriya, Gujarati and Punjabi
# with the Inscript keys into Wine's notepad (scripts/run.sh --screenshot
# --script), and puts the manager's title and notepad's first line of every
# run under one another in one picture.
# usage: scripts/screenshot_scripts.sh [OUT.png [SCRIPT...]]
#   (default docs/scripts-notepad.png and the five scripts above; any scripts
#   of run.sh --script, as tamil malayalam)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$ROOT/docs/scripts-notepad.png}")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
rows=()
shift || true
scripts=("$@")
[ ${#scripts[@]} -gt 0 ] || scripts=(bengali assamese oriya gujarati punjabi)
for script in "${scripts[@]}"; do
  "$ROOT/scripts/run.sh" --screenshot "$tmp/$script.png" --script "$script" >/dev/null
  # The manager's title bar (the active script) and notepad's title and first
  # line, where arrange_windows puts them on the 1280x1024 screen.
  convert "$tmp/$script.png" -crop 420x22+10+10 +repage "$tmp/$script-title.png"
  convert "$tmp/$script.png" -crop 420x90+640+512 +repage "$tmp/$script-pad.png"
  convert "$tmp/$script-title.png" "$tmp/$script-pad.png" -background white -gravity north \
    +append "$tmp/$script-row.png"
  rows+=("$tmp/$script-row.png")
done
mkdir -p "$(dirname "$out")"
convert "${rows[@]}" -background white -append "$out"
echo "screenshot: $out"
