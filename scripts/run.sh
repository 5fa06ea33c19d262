#!/usr/bin/env bash
# Runs the system under Wine: davrin.exe (the manager, which loads nelkor.dll
# and its hooks) and Wine's notepad to type into, on the user's display when
# DISPLAY is set, otherwise on a virtual Xvfb display.
#
#   scripts/run.sh                  run until Ctrl+C
#   scripts/run.sh --screenshot F   type two Hindi words into notepad with the
#                                   Inscript keys, save a screenshot to F, stop
#   scripts/run.sh --screenshot F --script NAME
#                                   the same with two words of bengali,
#                                   assamese, oriya, gujarati or punjabi,
#                                   chosen by its hot key, notepad in its font
#   scripts/run.sh --screenshot F --roman
#                                   the same keys typed as diacritic Roman
#                                   (Ctrl+Shift+F1), notepad in the Roman font
set -euo pipefail
# A Wine prefix of its own: the fonts and notepad settings of a run stay out
# of the tests' prefix.
export NK_WINEPREFIX="${NK_RUN_PREFIX:-${NK_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build}/win64/runprefix}"
source "$(dirname "$0")/common.sh"

shot=""
roman=0
script=""
if [ "${1:-}" = "--screenshot" ]; then
  shot="$(realpath -m "${2:?--screenshot needs a file name}")"
  [ "${3:-}" = "--roman" ] && roman=1
  [ "${3:-}" = "--script" ] && script="${4:?--script needs a script name}"
fi

# --script NAME: the script's hot key, font face and the Inscript keys of two
# words of the language (ISCII through data/layouts/inscript.txt).
hotkey=""
keys='vcmdls ufvdor' # Hindi "namaste hindI"
case "$script" in
  "") ;;
  bengali) hotkey=ctrl+shift+F3 face=BN-Velta keys='yexne Ye<e' ;;        # বাংলা ভাষা
  assamese) hotkey=ctrl+shift+F6 face=AS-Velta keys='Dmcr/]e Ye<e' ;;     # অসমীয়া ভাষা
  oriya) hotkey=ctrl+shift+F7 face=OR-Velta keys='A[]fE Ye<e' ;;          # ଓଡ଼ିଆ ଭାଷା
  gujarati) hotkey=ctrl+shift+F11 face=GJ-Velta keys='igpjelr Ye<e' ;;    # ગુજરાતી ભાષા
  punjabi) hotkey=ctrl+shift+F12 face=PN-Velta keys='hxpeyr Yem]e' ;;     # ਪੰਜਾਬੀ ਭਾਸ਼ਾ
  tamil) hotkey=ctrl+shift+F4 face=TM-Velta keys="lcfBd ve'g" ;;          # தமிழ் நாடு
  telugu) hotkey=ctrl+shift+F5 face=TL-Velta keys='lzngig Ye<' ;;         # తెలుగు భాష
  kannada) hotkey=ctrl+shift+F8 face=KN-Velta keys='kvdv[ Ye<z' ;;        # ಕನ್ನಡ ಭಾಷೆ
  malayalam) hotkey=ctrl+shift+F9 face=ML-Velta keys='cn/eNx ksjNx' ;;    # മലയാളം കേരളം
  *) echo "unknown script $script" >&2; exit 2 ;;
esac
# Without a settings file the manager starts in the first script whose module
# the folder lists (Assamese): Devanagari is chosen by its hot key too.
[ -n "$shot" ] && [ -z "$script" ] && [ "$roman" = 0 ] && hotkey=ctrl+shift+F2

bin="$NK_BUILD/win64/bin"
[ -f "$bin/davrin.exe" ] && [ -f "$bin/nelkor.dll" ] || "$ROOT/scripts/build.sh"

# The program directory is bin/: the manager, the driver, the script and
# typewriter modules, and the layout, rule and font files staged by the build.
own_display=0
if [ -z "${DISPLAY:-}" ] || [ -n "$shot" ]; then
  start_xvfb
  own_display=1
fi
trap stop_session EXIT INT TERM
prepare_prefix

# The script fonts built beside the programs are installed into the prefix,
# and notepad is set to show the Devanagari script font, as a user would.
fonts="$NK_WINEPREFIX/drive_c/windows/Fonts"
if ls "$bin"/*.ttf >/dev/null 2>&1; then
  mkdir -p "$fonts"
  cp -u "$bin"/*.ttf "$fonts/"
  [ -n "$script" ] || face=DV-Velta
  [ "$roman" = 1 ] && face=RM-Velta
  "$WINE64" reg add 'HKCU\Software\Microsoft\Notepad' /v lfFaceName /d "$face" /f >/dev/null 2>&1 || true
  "$WINE64" reg add 'HKCU\Software\Microsoft\Notepad' /v iPointSize /t REG_DWORD /d 200 /f >/dev/null 2>&1 || true
fi

( cd "$bin" && exec "$WINE64" davrin.exe ) >/dev/null 2>&1 &
for _ in $(seq 1 100); do
  xdotool search --name '^TAV-MultiScript' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1.5 # the one-second splash
( cd "$bin" && exec "$WINE64" notepad ) >/dev/null 2>&1 &
for _ in $(seq 1 100); do
  xdotool search --name 'Notepad' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1

if [ -n "$shot" ]; then
  # Show the manager's window beside notepad; focus notepad, flip to script
  # typing with Caps Lock, type a few Inscript keys.
  [ -f "$bin/arrange_windows.exe" ] && "$WINE64" "$bin/arrange_windows.exe" >/dev/null 2>&1 || true
  sleep 0.5
  pad=$(xdotool search --name 'Notepad' | head -n 1)
  xdotool windowfocus --sync "$pad" 2>/dev/null || xdotool windowfocus "$pad"
  xdotool mousemove --window "$pad" 400 200 click 1
  xdotool key Caps_Lock
  sleep 0.5
  if [ "$roman" = 1 ]; then
    xdotool key ctrl+shift+F1 # Diacritic Roman
    sleep 1
  fi
  if [ -n "$hotkey" ]; then
    xdotool key "$hotkey"
    sleep 1
  fi
  # Inscript keys of "namaste hindI": na ma sa halant ta e-sign, ha i-sign na
  # halant da ii-sign (the i sign is typed after ha and drawn before it).
  xdotool type --delay 150 "$keys"
  sleep 1
  mkdir -p "$(dirname "$shot")"
  import -window root "$shot"
  xdotool key Caps_Lock
  echo "screenshot: $shot"
  exit 0
fi

where="your display $DISPLAY"
[ "$own_display" = 1 ] && where="the virtual display $DISPLAY (Xvfb; nothing shows on your screen)"
cat <<TEXT
The manager (minimised "TAV-MultiScript" window) and notepad run on $where.
Program directory: $bin
Click into notepad and press Caps Lock (the switch key) to flip between
English and script typing; the manager's title shows the mode. The manager's
menu offers scripts, keyboards and options. Ctrl+C ends both.
TEXT
wait
