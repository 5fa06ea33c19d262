#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine: the emulator of the win64 build's
# tests. Needs an X display (scripts/test.sh starts Xvfb and sets DISPLAY) and
# a prepared prefix (NK_WINEPREFIX, else build/win64/wineprefix beside bin/).
set -u
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: no DISPLAY; run the tests through scripts/test.sh" >&2
  exit 2
fi
export WINEPREFIX="${NK_WINEPREFIX:-$(cd "$(dirname "$1")/.." && pwd)/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
exec /usr/lib/wine/wine64 "$@"
