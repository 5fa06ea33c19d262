#!/usr/bin/env bash
# Across processes, as a user types. A manager stand-in (nk_xp_host) loads the
# driver, installs its hooks and activates Devanagari with the test adapter;
# Caps Lock is the switch key. Recorder applications with the titles of every
# application category, and Wine's notepad, then receive real key presses
# from xdotool, and what reached them is compared with what each category
# must receive.
#
# Caps Lock, not Scroll Lock: X keeps no Scroll Lock state under Xvfb, and
# Wine puts its own Scroll Lock toggle back at the next key by faking a
# second press.
#
# Usage: crossprocess.sh <bin folder of the win64 build> [typing]
# Without "typing" only what needs no composition is checked (the switch
# key, keys that pass, script keys swallowed, the menu loop); with it, the
# glyphs and erase sequences of every category and the text in notepad.
# Needs DISPLAY (scripts/test.sh starts Xvfb) and the prepared Wine prefix.
set -u
BIN="$(cd "$1" && pwd)"
TYPING="${2:-}"
HERE="$(cd "$(dirname "$0")" && pwd)"
RUN="$HERE/../harness/wine-run.sh"
cd "$BIN" || exit 2
rm -rf xp
mkdir -p xp
failures=0
checks=0
host_pid=""

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# wait_for FILE REGEX [TENTHS]: bounded poll for a line in a file.
wait_for() {
  local i
  for i in $(seq 1 "${3:-100}"); do
    grep -qE "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# check NAME EXPECTED ACTUAL
check() {
  checks=$((checks + 1))
  if [ "$2" != "$3" ]; then
    fail "$1"
    echo "  expected: $2"
    echo "  actual:   $3"
  fi
}

# The hooks map the driver into Wine's own long-lived processes (the desktop),
# which keep its shared section alive after the host has ended. Ending the
# Wine session gives the tests that follow a freshly mapped section.
cleanup() {
  touch xp/host.log.stop
  [ -n "$host_pid" ] && wait "$host_pid" 2>/dev/null
  WINEPREFIX="${NK_WINEPREFIX:-$BIN/../wineprefix}" timeout 20 wineserver -k >/dev/null 2>&1
  WINEPREFIX="${NK_WINEPREFIX:-$BIN/../wineprefix}" timeout 20 wineserver -w >/dev/null 2>&1
}
trap cleanup EXIT

host_title() { grep '^TITLE' xp/host.log | tail -n 1 | cut -c7-; }

# Waits until the host's latest title is $1.
wait_title() {
  local i
  for i in $(seq 1 50); do
    [ "$(host_title)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

host_command() {
  local before
  before=$(grep -c '^DONE' xp/host.log)
  echo "$1" > xp/host.cmd.tmp
  mv xp/host.cmd.tmp xp/host.log.cmd # whole, or the host may read it half written
  local i
  for i in $(seq 1 50); do
    [ "$(grep -c '^DONE' xp/host.log)" -gt "$before" ] && return 0
    sleep 0.1
  done
  fail "host did not run '$1'"
}

focus_window() { # title [tenths]
  local wid="" i
  for i in $(seq 1 "${2:-50}"); do
    wid=$(xdotool search --name "^$(printf '%s' "$1" | sed 's/[][\.*^$!]/\\&/g')\$" 2>/dev/null | head -n 1)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -z "$wid" ] && { fail "no X window for '$1'"; return 1; }
  timeout 5 xdotool windowfocus --sync "$wid" >/dev/null 2>&1 || xdotool windowfocus "$wid"
  return 0
}

# The recorded messages of the script part: between the English 'k' (WM_CHAR
# 6B) typed before the switch key and the English 'j' (WM_CHAR 6A) after it.
script_part() {
  sed -n '/^0102 6B /,/^0102 6A /p' "$1" | sed '1d;$d'
}

# Only what types and erases: characters and the back-space key messages.
typed() {
  grep -E '^0102 |^010[01] 8 ' | tr '\n' ';'
}

# record NAME TITLE KEYS...: starts a recorder with TITLE, types into it
# "k", Caps Lock, KEYS, Caps Lock, "j", and leaves its log in xp/NAME.log.
record() {
  local name="$1" title="$2"
  shift 2
  rm -f "xp/$name.log.stop"
  "$RUN" ./nk_xp_recorder.exe "xp\\$name.log" "$title" >/dev/null 2>&1 &
  local pid=$!
  if ! wait_for "xp/$name.log" '^READY' 100; then
    fail "$name: recorder did not start"
    kill "$pid" 2>/dev/null
    return 1
  fi
  focus_window "$title" 20
  # Wine activates the window some time after X gave it the focus: a Shift
  # press shows when keys arrive.
  local tries
  for tries in 1 2 3 4 5 6; do
    xdotool key shift
    wait_for "xp/$name.log" '^0100 10 ' 10 && break
    focus_window "$title" 10
  done
  xdotool key --delay 60 k Caps_Lock "$@" Caps_Lock j
  wait_for "xp/$name.log" '^0102 6A ' 50 || fail "$name: the English 'j' did not arrive"
  touch "xp/$name.log.stop"
  wait "$pid" 2>/dev/null
}

# --- the host ----------------------------------------------------------------
"$RUN" ./nk_xp_host.exe 'xp\host.log' 20 B >/dev/null 2>&1 &
host_pid=$!
wait_for xp/host.log '^READY' 150 || { fail "host did not start"; exit 1; }
check "activation in the host" "ACTIVATED 0" "$(grep '^ACTIVATED' xp/host.log)"
check "published module" "PUBLISHED dvtrop32.dll" "$(grep '^PUBLISHED' xp/host.log)"

# --- switch key, script and English typing in an unknown application ---------
record unknown "Untitled - Recorder" k f
log=xp/unknown.log
check "English key passes" "0102 6B 00250001" "$(grep -m1 '^0102 6B' $log)"
check "switch key reaches the application" "2" "$(grep -c '^0100 14 ' $log)"
check "script keys never reach the application" "" "$(script_part $log | grep -E '^010[01] (4B|46) ')"
check "titles: script on, then English" "TAV-MultiScript [English]" "$(host_title)"
grep -q 'TITLE TAV-MultiScript \[Devanagari\]' xp/host.log || fail "no script title after the switch key"

if [ "$TYPING" = typing ]; then
# --- every category: the characters and erase sequences it receives -------
# The test adapter turns KA (Inscript k) into glyph 53 ('S'); KA with the
# vowel sign I (Inscript f) into 7B 53, the sign drawn first. So "k f" types
# 53, then erases one glyph and types 7B 53. Back-space key-ups are posted
# too, but the hook swallows every key-up but Shift, Ctrl and Alt when the
# application retrieves it, so they never reach the window. The recorder
# translates key-downs as applications do: a posted back-space key-down whose
# lParam reads "newly pressed" (bit 30 clear) gives one more WM_CHAR 8, at the
# end of the queue. Glyph lParams of QuarkXPress and Ami Pro's Esc come from
# OemKeyScan, whose values the host reports.
oem() { grep "^OEM $1 " xp/host.log | cut -d' ' -f3; }
c() { printf '0102 %s %s;' "$1" "${2:-00000001}"; }
kd() { printf '0100 8 %s;' "$1"; }
erase_default="$(kd C00E0001)$(c 8 C00E0001)"
typing() { # erase sequence, then optional lParams of 53 and 7B
  printf '%s%s%s%s' "$(c 53 "${2:-}")" "$1" "$(c 7B "${3:-}")" "$(c 53 "${2:-}")"
}
esc="$(c 1B "$(oem 1B)")"
amipro="$(c 53)${esc}${erase_default}$(c 7B)${esc}$(c 53)${esc}"

# name|title|default category|expected
while IFS='|' read -r name title category expected; do
  [ -z "$name" ] && continue
  host_command "CAT $category"
  record "$name" "$title" k f
  check "category $name ($title)" "$expected" "$(script_part "xp/$name.log" | typed)"
done <<EOF2
default0|Untitled - Recorder|0|$(typing "$erase_default")
word|Document1 - Microsoft Word|0|$(typing "$(c 8 000E0001)")
pagemaker|Adobe PageMaker 6.5|0|$(typing "$(c 8 000E0001)")
access|Microsoft Access - db1|0|$(typing "$(c 8 000E0001)")
powerpoint|Microsoft PowerPoint - [Presentation1]|0|$(typing "$(kd 000E0001)")$(c 8 000E0001)
wordperfect|WordPerfect - Document1|0|$(typing "$(kd 000E0001)")$(c 8 000E0001)
publisher|Untitled - Recorder|3|$(typing "$(c 108 000E0001)")
excel|Microsoft Excel - Book1|0|$(typing "$(kd 000E0001)$(c 8 000E0001)")$(c 8 000E0001)
paradox|Paradox|0|$(typing "$(kd 00080001)$(c 8 00080001)")$(c 8 00080001)
corelventura|Corel VENTURA|0|$(typing "$(c 8 000E0001)")
coreldraw|CorelDRAW!|0|$(typing "$(kd 000E0001)")
edittext|Edit Text|0|$(typing "$(kd 000E0001)")
quark|Untitled - Recorder|8|$(typing "$erase_default" "$(oem 53)" "$(oem 7B)")
amipro|Ami Pro - [Untitled]|0|$amipro
ventura|Ventura Publisher|0|$(typing "$erase_default")
overlay|TAV KEYBOARD OVERLAY|0|$(typing "$erase_default")
freelance|Freelance Graphics|0|$(typing "$erase_default")
lotus123|Lotus 1-2-3|0|$(typing "$erase_default")
wordpro|Lotus Word Pro|0|$(typing "$erase_default")
default5|Untitled - Recorder|5|$(typing "$(kd 00080001)$(c 8 00080001)")$(c 8 00080001)
EOF2
host_command "CAT 0"

# Category 0 and Word Pro: a Shift key-up follows every key in English.
check "category 0: Shift up after an English key" "0101 10 C02A0001" \
  "$(sed -n '/^0100 4B /,/^0102 6B /p' xp/unknown.log | grep '^0101 10 ')"
# The overlay hears the switch key.
grep -q '^COMMAND 129$' xp/overlay.log || fail "overlay: no command 297 at the switch key"

# Category 6 drops the fourth identical key-down in a row.
record venturarepeat "Corel VENTURA" k f k k k k
check "category 6 repeat guard" "$(typing "$(c 8 000E0001)")$(c 53)$(c 53)$(c 53)" \
  "$(script_part xp/venturarepeat.log | typed)"

# 1-2-3: an arrow key posts F2 twice and ends the word.
record arrows "Lotus 1-2-3" k Left k
check "1-2-3: F2 after an arrow" "0100 71 C02A0001;0100 71 C02A0001;" \
  "$(script_part xp/arrows.log | grep '^0100 71 ' | tr '\n' ';')"
check "1-2-3: the word ends at the arrow" "$(c 53)$(c 53)" "$(script_part xp/arrows.log | typed)"

# QuarkXPress: the switch key's release opens its font dialog (Ctrl+Shift+D).
record quarkfont "QuarkXPress" k
check "QuarkXPress: font shortcut at the switch key" "0100 11;0100 10;0100 44;" \
  "$(script_part xp/quarkfont.log | grep -E '^0100 (11|10|44) ' | head -n 3 | cut -d' ' -f1,2 | tr '\n' ';')"

fi

# --- Wine's notepad receives the glyph codes ----------------------------------
"$RUN" notepad >/dev/null 2>&1 &
notepad_pid=$!
if focus_window "Untitled - Notepad"; then
  xdotool key --delay 60 k Caps_Lock k f Caps_Lock j
  text=""
  for i in $(seq 1 30); do
    "$RUN" ./nk_xp_notepad.exe 'xp\notepad.txt' >/dev/null 2>&1
    text=$(cat xp/notepad.txt 2>/dev/null)
    case "$text" in *6A) break ;; esac
    sleep 0.1
  done
  check "notepad: English keys around the script word" "6B" "$(echo "$text" | cut -d' ' -f1)"
  check "notepad: script keys are not typed as letters" "" "$(echo "$text" | tr ' ' '\n' | sed '1d;$d' | grep -E '^(6B|66|4B|46)$')"
  [ "$TYPING" = typing ] && check "notepad: the glyph codes, the first erased" "6B 7B 53 6A" "$text"
  "$RUN" ./nk_xp_notepad.exe 'xp\notepad.txt' close >/dev/null 2>&1
fi
wait "$notepad_pid" 2>/dev/null

# --- a menu turns typing to English while it is open --------------------------
"$RUN" ./nk_xp_recorder.exe 'xp\menu.log' "Menu - Recorder" >/dev/null 2>&1 &
menu_pid=$!
wait_for xp/menu.log '^READY' 100 || fail "menu recorder did not start"
focus_window "Menu - Recorder"
# A first key in English: leaving notepad's edit control gives back the
# toggle saved when typing entered it, at the first key of another window.
xdotool key --delay 60 k Caps_Lock
wait_title "TAV-MultiScript [Devanagari]" || fail "menu: no script mode before the menu"
xdotool key alt+f
if wait_title "TAV-MultiScript [English]"; then
  echo "menu: the open menu turned typing to English"
  xdotool key Escape Escape
  if wait_title "TAV-MultiScript [Devanagari]"; then
    echo "menu: script typing came back at the menu's end"
  else
    echo "menu: Wine reported no menu end (no filtered message with lParam 0xFFFF): typing stays English"
  fi
else
  fail "menu: opening a menu did not turn typing to English (title $(host_title))"
  xdotool key Escape Escape
fi
touch xp/menu.log.stop
wait "$menu_pid" 2>/dev/null

echo "crossprocess: $checks checks, $failures failed"
[ "$failures" -eq 0 ]
