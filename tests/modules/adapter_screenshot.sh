#!/usr/bin/env bash
# Screenshot of words converted by the real adapter modules and shown in the
# product's fonts under Wine: docs/adapter_check.png. Needs the native build
# (fonts) and the win64 build (modules, adapter_show.exe).
#   tests/modules/adapter_screenshot.sh [output.png]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
out="${1:-$ROOT/docs/adapter_check.png}"
bin="$NK_BUILD/win64/bin"
[ -f "$bin/adapter_show.exe" ] || { echo "build win64 first" >&2; exit 1; }
start_xvfb
trap stop_session EXIT
prepare_prefix
(cd "$bin" && "$WINE64" adapter_show.exe 60 > "$NK_BUILD/adapter_show.log" 2>&1) &
shown=""
for _ in $(seq 1 300); do
  if xdotool search --name "Velta adapter check - ready" >/dev/null 2>&1; then shown=1; break; fi
  sleep 0.1
done
[ -n "$shown" ] || { echo "adapter_show did not come up" >&2; cat "$NK_BUILD/adapter_show.log" >&2; exit 1; }
sleep 0.5 # let the last paint reach the screen
mkdir -p "$(dirname "$out")"
import -window root -crop 1260x470+0+0 "$out"
cat "$NK_BUILD/adapter_show.log"
echo "screenshot: $out"
