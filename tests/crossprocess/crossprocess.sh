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
# Usage: crossprocess.sh <bin folder of the win64 build>
# Needs DISPLAY (scripts/test.sh starts Xvfb) and the prepared Wine prefix.
set -u
BIN="$(cd "$1" && pwd)"
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

cleanup() {
  touch xp/host.log.stop
  [ -n "$host_pid" ] && wait "$host_pid" 2>/dev/null
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
  echo "$1" > xp/host.log.cmd
  local i
  for i in $(seq 1 50); do
    [ "$(grep -c '^DONE' xp/host.log)" -gt "$before" ] && return 0
    sleep 0.1
  done
  fail "host did not run '$1'"
}

focus_window() { # title
  local wid="" i
  for i in $(seq 1 50); do
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
  "$RUN" ./nk_xp_recorder.exe "xp\\$name.log" "$title" >/dev/null 2>&1 &
  local pid=$!
  if ! wait_for "xp/$name.log" '^READY' 100; then
    fail "$name: recorder did not start"
    kill "$pid" 2>/dev/null
    return 1
  fi
  focus_window "$title" || return 1
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
  NOTEPAD_TEXT="$text"
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
