#!/usr/bin/env bash
# The keyboard overlay used as a person uses it: davrin.exe started in
# Devanagari Inscript, the overlay opened from its Help menu with the
# keyboard, the key "A" clicked with the mouse, Caps Lock (the switch key)
# and Shift pressed, all through the X server with xdotool. What the overlay
# shows is read back by overlay_look.exe: the check boxes, the key's
# caption, the EDIT box's text. Then the English-mode font is taken away and
# the same menu must bring up the missing-font message instead.
#
# Usage: overlay_outside.sh <bin folder of the win64 build>
# Needs DISPLAY and the prepared Wine prefix (scripts/test.sh gives both).
set -u
BIN="$(cd "$1" && pwd)"
WINE64=/usr/lib/wine/wine64
export WINEDEBUG=-all
cd "$BIN" || exit 2
dir="$BIN/overlay_outside"
rm -rf "$dir"
mkdir -p "$dir"
cp davrin.exe nelkor.dll DVTROP32.DLL INSKBD.BIN PEKBD.BIN EN2IN.RUL IN2EN.RUL "$dir/"
printf '[Settings]\r\nDefaultScript=DV\r\nInscriptSwitch=20\r\n' > "$dir/TAVWIN.INI"

# The product fonts go into the prefix's font folder for this run only:
# other tests install them privately and must not find them there.
fonts="${WINEPREFIX:?needs the prepared Wine prefix}/drive_c/windows/Fonts"
mkdir -p "$fonts"
added=()
for font in "$BIN"/DV*.ttf; do
  target="$fonts/$(basename "$font")"
  [ -e "$target" ] || { cp "$font" "$target" && added+=("$target"); }
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
stop_manager() {
  [ -n "${mgr_pid:-}" ] && kill "$mgr_pid" 2>/dev/null
  timeout 20 wineserver -k >/dev/null 2>&1
  timeout 20 wineserver -w >/dev/null 2>&1
  mgr_pid=""
}
cleanup() {
  stop_manager
  rm -f "${added[@]}"
  rm -rf "$dir"
}
trap cleanup EXIT

look() { $WINE64 ./overlay_look.exe "$@" 2>/dev/null | tr -d '\r'; }
# Waits until `look state` gives a line matching the pattern; the line read
# last is in $state either way.
state=""
await_state() {
  for _ in $(seq 1 50); do
    state=$(look state 30)
    [[ "$state" =~ $1 ]] && return 0
    sleep 0.2
  done
  return 1
}

start_manager() {
  (cd "$dir" && exec $WINE64 davrin.exe) >/dev/null 2>&1 &
  mgr_pid=$!
  manager=""
  for _ in $(seq 1 100); do
    manager=$(xdotool search --onlyvisible --name '^TAV-MultiScript' 2>/dev/null | head -n 1)
    [ -n "$manager" ] && break
    sleep 0.1
  done
  sleep 1.5 # the splash
  [ -n "$manager" ]
}

# Help -> Keyboard Overlay, with the keyboard, in the manager's window. The
# manager starts minimised: a double click on its caption restores it.
open_from_menu() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$manager")"
  if [ "$HEIGHT" -lt 100 ]; then
    xdotool mousemove $((X + 40)) $((Y + 8)) click --repeat 2 --delay 80 1
    sleep 1
  fi
  xdotool windowfocus --sync "$manager" 2>/dev/null || xdotool windowfocus "$manager"
  sleep 0.3
  # The Help menu must be open before its item's key goes: on a busy machine
  # a key pressed too early would go to the manager's window instead.
  for _ in 1 2 3; do
    xdotool key alt+h
    for _ in $(seq 1 25); do
      [ "$(look menu)" = OPEN ] && break 2
      sleep 0.2
    done
    xdotool key Escape Escape
  done
  xdotool key k
}

# The glyph codes key "A" must show and type: ो unshifted, ओ shifted.
normal=$(look glyphs DVTROP32.DLL iscii2devglf E5)
shifted=$(look glyphs DVTROP32.DLL iscii2devglf B0)
[[ "$normal" =~ ^[0-9A-F]+$ && "$shifted" =~ ^[0-9A-F]+$ ]] ||
  { echo "FAIL: no glyphs from DVTROP32.DLL ($normal, $shifted)"; exit 1; }
blank=202020 # three blanks: the caption in English typing

cd "$dir" || exit 2
cp "$BIN/overlay_look.exe" .
start_manager || { echo "FAIL: the manager did not start"; exit 1; }
open_from_menu
if ! await_state "^0 0 $blank - .* TAV KEYBOARD OVERLAY \[INSCRIPT\] - \[DEVANAGARI\]$"; then
  fail "the overlay did not open in English typing from the Help menu: '$state'"
else
  read -r _ _ _ _ left top right bottom _ <<< "$state"
  x=$(((left + right) / 2))
  y=$(((top + bottom) / 2))

  xdotool mousemove "$x" "$y" click 1
  await_state "^0 0 $blank 61 " || fail "a click on A in English typing: '$state'"

  xdotool key Caps_Lock
  await_state "^1 0 2020$normal - " || fail "Caps Lock: script captions, Caps checked, EDIT empty: '$state'"

  xdotool mousemove "$x" "$y" click 1
  await_state "^1 0 2020$normal $normal " || fail "a click on A in script typing types its glyphs: '$state'"

  xdotool keydown shift
  await_state "^1 1 2020$shifted " || fail "Shift held: shifted captions, Shift checked: '$state'"
  xdotool keyup shift
  await_state "^1 0 2020$normal " || fail "Shift let go: '$state'"

  xdotool key Caps_Lock
  await_state "^0 0 $blank - " || fail "Caps Lock again: English captions and an empty EDIT: '$state'"

  # File -> Exit closes the overlay; the manager's window is there again.
  xdotool key alt+f
  sleep 0.3
  xdotool key x
  await_state "^NONE$" || fail "File -> Exit left the overlay open"
fi
stop_manager

# The English typing font taken away, and its "TT" alternative with it.
hidden="$BIN/overlay_outside_hidden"
mkdir -p "$hidden"
for face in DV1-Velta DV1-TTVelta; do
  [ -e "$fonts/$face.ttf" ] && mv "$fonts/$face.ttf" "$hidden/"
done
start_manager || fail "the manager did not start again"
open_from_menu
expected=$(printf 'Font [DV1-Velta] or [DV1-TTVelta] not available.\nInstall one of above font and then try.' |
  od -An -tx1 | tr -d ' \n' | tr a-f A-F)
message=""
for _ in $(seq 1 50); do
  message=$(look message)
  [ "$message" != NONE ] && break
  sleep 0.2
done
[ "$message" = "$expected" ] || fail "missing font: message '$message', expected '$expected'"
[ "$(look state 30)" = NONE ] || fail "the overlay opened without its font"
xdotool key Return
mv "$hidden"/*.ttf "$fonts/" 2>/dev/null
rm -rf "$hidden"

echo "overlay from outside: $failures failures"
[ "$failures" -eq 0 ]
