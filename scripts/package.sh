#!/usr/bin/env bash
# Builds the installers with NSIS: velta-setup-x64.exe from the win64 build
# and velta-setup-x86.exe from the win32 build, into $NK_BUILD/installers (or
# the folder given). Builds first when a build is missing.
#
#   scripts/package.sh [--only x64|x86] [OUT_FOLDER]
#
# What ships is what the manager and the driver use from their folder: the
# two programs, the script and typewriter modules, layout and rule files, and
# the fonts (registered with Windows); test programs of the bin folder do not.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pairs=(x64:win64 x86:win32)
if [ "${1:-}" = "--only" ]; then
  case "${2:-}" in
    x64) pairs=(x64:win64) ;;
    x86) pairs=(x86:win32) ;;
    *) echo "--only takes x64 or x86" >&2; exit 2 ;;
  esac
  shift 2
fi
out="$(realpath -m "${1:-$NK_BUILD/installers}")"
mkdir -p "$out"
command -v makensis >/dev/null || { echo "makensis not found (Debian: apt-get install nsis)" >&2; exit 1; }

for pair in "${pairs[@]}"; do
  dir="${pair##*:}"
  [ -f "$NK_BUILD/$dir/bin/davrin.exe" ] && [ -f "$NK_BUILD/$dir/bin/nelkor.dll" ] ||
    "$ROOT/scripts/build.sh"
done

# The fonts' face names come from the fonts themselves, read by the Python
# the build chose (it has fontTools).
python=$(sed -n 's/^NK_PYTHON:FILEPATH=//p' "$NK_BUILD/native/CMakeCache.txt" 2>/dev/null || true)
python="${python:-python3}"

# shipped_files BIN: the deliverables of a bin folder, one name a line.
shipped_files() {
  (cd "$1" && shopt -s nullglob &&
    printf '%s\n' davrin.exe nelkor.dll *TROP32.DLL *BFA32.DLL *KBD32.DLL *.typ *.BIN *.RUL |
    sort -u)
}

# write_list BIN LIST: the NSIS macros of the file list.
write_list() {
  local bin="$1" list="$2" f
  {
    echo '!macro NK_INSTALL_FILES'
    shipped_files "$bin" | while read -r f; do echo "  File \"$bin/$f\""; done
    echo '!macroend'
    echo '!macro NK_DELETE_FILES'
    shipped_files "$bin" | while read -r f; do echo "  Delete /REBOOTOK \"\$INSTDIR\\$f\""; done
    echo '!macroend'
    echo '!macro NK_FONTS OP'
    "$python" - "$bin" <<'PY'
import glob, os, sys
from fontTools.ttLib import TTFont
for path in sorted(glob.glob(os.path.join(sys.argv[1], "*.ttf"))):
    name = TTFont(path)["name"]
    full = name.getDebugName(4) or name.getDebugName(1)
    print('  !insertmacro ${OP} "%s" "%s"' % (os.path.basename(path), full))
PY
    echo '!macroend'
  } > "$list"
}

version="1.0.$(git -C "$ROOT" rev-list --count HEAD 2>/dev/null || echo 0)"
for pair in "${pairs[@]}"; do
  arch="${pair%%:*}"
  bin="$NK_BUILD/${pair##*:}/bin"
  list="$NK_BUILD/${pair##*:}/installer-files.nsh"
  write_list "$bin" "$list"
  n_files=$(shipped_files "$bin" | wc -l)
  n_fonts=$(grep -c 'insertmacro ${OP}' "$list" || true)
  if [ "$n_files" -lt 5 ] || [ "$n_fonts" -eq 0 ]; then
    echo "$bin: $n_files files and $n_fonts fonts: not a complete build" >&2
    exit 1
  fi
  makensis -V2 -NOCD -DARCH="$arch" -DLIST="$list" -DBIN="$bin" -DSOURCE="$ROOT" \
    -DVERSION="$version" -DOUTFILE="$out/velta-setup-$arch.exe" "$ROOT/installer/velta.nsi"
  echo "built: $out/velta-setup-$arch.exe ($n_files files, $n_fonts fonts)"
done
