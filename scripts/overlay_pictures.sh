#!/usr/bin/env bash
# The keyboard overlay's pictures for the documentation: the overlay on the
# screen (Devanagari Inscript, script captions, two clicked keys in its edit
# box) and its chart printed to a PostScript file through Wine's PostScript
# driver, turned into PNG by Ghostscript. Both come from the overlay test's
# print case (tests/manager/overlay_test.cpp).
#   scripts/overlay_pictures.sh [DOCS_FOLDER]
set -euo pipefail
source "$(dirname "$0")/common.sh"
docs="${1:-$ROOT/docs}"
bin="$NK_BUILD/win64/bin"
start_xvfb
trap stop_session EXIT INT TERM
prepare_prefix
rm -f "$bin/overlay_chart.ps" "$bin/overlay_screen.bmp"
(cd "$bin" && "$WINE64" overlay_test.exe --gtest_filter='OverlayPrint.PrintsTheChartToAPostScriptFile')
mkdir -p "$docs"
convert "$bin/overlay_screen.bmp" "$docs/overlay.png"
gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r110 -dTextAlphaBits=4 -dGraphicsAlphaBits=4 \
  -sOutputFile="$docs/overlay-chart-page.png" "$bin/overlay_chart.ps"
# The chart's part of the page (the page itself is mostly white).
convert "$docs/overlay-chart-page.png" -trim +repage -bordercolor white -border 20 "$docs/overlay-chart.png"
rm -f "$docs/overlay-chart-page.png"
echo "pictures: $docs/overlay.png $docs/overlay-chart.png"
