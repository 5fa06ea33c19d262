#!/usr/bin/env bash
# The main job: start the system under Wine. Until the manager program exists
# this lists what has been built.
set -euo pipefail
source "$(dirname "$0")/common.sh"
[ -f "$NK_BUILD/win64/bin/nelkor.dll" ] || "$ROOT/scripts/build.sh"
echo "Built deliverables (x86_64, run under Wine):"
ls -l "$NK_BUILD/win64/bin"
echo "Built deliverables (i686, the 32-bit target):"
ls -l "$NK_BUILD/win32/bin"
