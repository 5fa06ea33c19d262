#!/usr/bin/env bash
# Unicode output in Wine's notepad, as a user types. davrin.exe runs from a
# program folder of its own that holds no script module at all, with
# "Unicode output" on in its TAVWIN.INI; notepad is shown in a Noto font.
# xdotool presses the Inscript keys of dictionary words: Hindi, the Hindi
# words again in diacritic Roman (IAST, as ICU's transliteration gives them),
# Bengali, Tamil and Malayalam on one line, the script changed by its hot key
# in mid line, a wrong key taken back with Backspace in the first word of
# each language, and a 51-code word (the 51st code is dropped with the word).
# notepad's text, read with WM_GETTEXT (wide), must be exactly the words.
#
# Usage: notepad_unicode.sh <bin folder of the win64 build> [COUNT] [--screenshot FILE]
# COUNT words per language (default 100). With --screenshot, each language
# goes on a line of its own and notepad's window is saved to FILE.
# NK_UNICODE_LANGS chooses the languages and their hot keys (default
# "hi:F2 rm:F1 bn:F3 ta:F4 ml:F9"; Roman follows Hindi, so that it writes
# the letters it has after Devanagari), NK_NOTEPAD_FACE notepad's font (default
# "Noto Sans Devanagari").
# Needs DISPLAY and the prepared Wine prefix (scripts/test.sh gives both).
set -u
BIN="$(cd "$1" && pwd)"
COUNT="${2:-100}"
SHOT=""
[ "${3:-}" = "--screenshot" ] && SHOT="$(realpath -m "${4:?--screenshot needs a file}")"
WINE64=/usr/lib/wine/wine64
export WINEDEBUG=-all
cd "$BIN" || exit 2
pad_dir="$BIN/unicode_pad"
rm -rf "$pad_dir"
mkdir -p "$pad_dir"
# The manager, the driver and the layout and rule files: no ??TROP32.DLL.
cp davrin.exe nelkor.dll INSKBD.BIN PEKBD.BIN EN2IN.RUL IN2EN.RUL "$pad_dir/"
printf '[Settings]\r\nDefaultScript=DV\r\nInscriptSwitch=20\r\n[Unicode]\r\nUnicodeOutput=1\r\n' \
  > "$pad_dir/TAVWIN.INI"

LANGS="${NK_UNICODE_LANGS:-hi:F2 rm:F1 bn:F3 ta:F4 ml:F9}"
FACE="${NK_NOTEPAD_FACE:-Noto Sans Devanagari}"
# notepad in a Noto font (Wine finds the system's Noto fonts). The text is
# checked whatever the font shows: a face shows only its own script.
$WINE64 reg add 'HKCU\Software\Microsoft\Notepad' /v lfFaceName /d "$FACE" /f >/dev/null 2>&1
$WINE64 reg add 'HKCU\Software\Microsoft\Notepad' /v iPointSize /t REG_DWORD /d 160 /f >/dev/null 2>&1
$WINE64 reg add 'HKCU\Software\Microsoft\Notepad' /v fWrap /t REG_DWORD /d 1 /f >/dev/null 2>&1

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cleanup() {
  [ -n "${pad_pid:-}" ] && kill "$pad_pid" 2>/dev/null
  [ -n "${mgr_pid:-}" ] && kill "$mgr_pid" 2>/dev/null
  timeout 20 wineserver -k >/dev/null 2>&1
  timeout 20 wineserver -w >/dev/null 2>&1
}
trap cleanup EXIT

(cd "$pad_dir" && exec $WINE64 davrin.exe) >/dev/null 2>&1 &
mgr_pid=$!
for _ in $(seq 1 100); do
  xdotool search --name '^TAV-MultiScript' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1.5 # the splash
$WINE64 notepad >/dev/null 2>&1 &
pad_pid=$!
pad=""
for _ in $(seq 1 100); do
  pad=$(xdotool search --name 'Notepad' 2>/dev/null | head -n 1)
  [ -n "$pad" ] && break
  sleep 0.1
done
[ -n "$pad" ] || { echo "FAIL: no notepad"; exit 1; }
sleep 1
[ -n "$SHOT" ] && [ -f arrange_windows.exe ] && $WINE64 arrange_windows.exe >/dev/null 2>&1
xdotool windowfocus --sync "$pad" 2>/dev/null || xdotool windowfocus "$pad"
xdotool mousemove --window "$pad" 300 150 click 1
# The first key into the control: a control in a font that is no script font
# starts in English; Caps Lock (the switch key) turns script typing on.
xdotool key Escape
sleep 0.3
xdotool key Caps_Lock
sleep 0.3

expected=""
append() { expected="${expected:+$expected }$1"; }
space="0020"
newline="000d 000a"
first=1
for language in $LANGS; do
  lang="${language%%:*}"
  if [ -n "$SHOT" ] && [ "$first" = 0 ]; then
    xdotool key Return
    append "$newline"
  fi
  first=0
  xdotool key "ctrl+shift+${language##*:}"
  sleep 0.5
  $WINE64 ./unicode_notepad.exe keys "$lang" "$COUNT" "unicode_pad\\keys_$lang.txt" >/dev/null 2>&1 ||
    fail "$lang: fewer than $COUNT typable words"
  n=0
  while IFS=$'\t' read -r keys units; do
    units="${units%$'\r'}" # the helper writes text-mode lines
    n=$((n + 1))
    if [ "$n" = 1 ]; then
      # A wrong key at the end of the first word, taken back with Backspace.
      # shellcheck disable=SC2086
      xdotool key --delay 40 $keys k BackSpace space
    else
      # shellcheck disable=SC2086
      xdotool key --delay 40 $keys space
    fi
    append "$units"
    append "$space"
  done < "unicode_pad/keys_$lang.txt"
  echo "$lang: $n words typed"
done
if [ -z "$SHOT" ]; then
  # 51 codes: the last key is dropped together with the word.
  xdotool key ctrl+shift+F2
  sleep 0.5
  xdotool key --delay 40 $(printf 'k %.0s' $(seq 1 51)) space
  for _ in $(seq 1 50); do append "0915"; done
  append "$space"
fi
sleep 2
$WINE64 ./unicode_notepad.exe read 'unicode_pad\text.txt' >/dev/null 2>&1
actual=$(tr -d '\r\n' < unicode_pad/text.txt)
if [ "$actual" != "$expected" ]; then
  fail "notepad's text differs from the words typed"
  python3 - "$expected" "$actual" <<'PY'
import sys
e, a = sys.argv[1].split(), sys.argv[2].split()
i = next((k for k in range(min(len(e), len(a))) if e[k] != a[k]), min(len(e), len(a)))
print("  first difference at unit %d of %d (read %d)" % (i, len(e), len(a)))
print("  expected ...", " ".join(e[max(0, i - 8):i + 8]))
print("  read     ...", " ".join(a[max(0, i - 8):i + 8]))
PY
fi
if [ -n "$SHOT" ]; then
  sleep 1
  mkdir -p "$(dirname "$SHOT")"
  import -window "$pad" "$SHOT"
  echo "screenshot: $SHOT"
fi
xdotool key Caps_Lock
$WINE64 ./unicode_notepad.exe read 'unicode_pad\text.txt' close >/dev/null 2>&1
echo "notepad: $(echo "$expected" | wc -w) units expected, $failures failures"
[ "$failures" -eq 0 ]
