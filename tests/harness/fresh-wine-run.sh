#!/usr/bin/env bash
# Like wine-run.sh, but in a new Wine session: ends the prefix's wineserver
# (and with it every process that still maps nelkor.dll, Wine's desktop
# process included, which keeps hook libraries mapped) before the program
# starts, so that the driver's shared section is mapped afresh.
set -u
prefix="${NK_WINEPREFIX:-$(cd "$(dirname "$1")/.." && pwd)/wineprefix}"
WINEPREFIX="$prefix" timeout 30 wineserver -k >/dev/null 2>&1
WINEPREFIX="$prefix" timeout 30 wineserver -w >/dev/null 2>&1
exec "$(dirname "$0")/wine-run.sh" "$@"
