#!/usr/bin/env bash
# Remington typed into Wine's notepad as a user types, against Inscript.
# davrin.exe starts from a program folder with the Devanagari adapter module,
# DVRKBD32.DLL and its layout. Every word of remington_words.tsv (real Hindi
# words) is typed into notepad with its Inscript keys; then "Remington" is
# chosen from the manager's "&Keyboard" > "&Typewriter" menu and the words
# are typed again with their Remington keys into a new notepad. The glyph
# codes that reached notepad must be the same, word for word. The manager is
# then closed and started again: it must come back with Remington chosen.
#
# Usage: remington_wine.sh <bin folder of the win64 build> <words file>
# Needs DISPLAY (scripts/test.sh starts Xvfb) and the prepared Wine prefix.
set -u
BIN="$(cd "$1" && pwd)"
WORDS="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
HERE="$(cd "$(dirname "$0")" && pwd)"
RUN="$HERE/../harness/wine-run.sh"
KEY_DELAY="${NK_KEY_DELAY:-40}"
failures=0
checks=0
manager_pid=""

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

check() {
  checks=$((checks + 1))
  if [ "$2" != "$3" ]; then
    fail "$1"
    echo "  expected: $2"
    echo "  actual:   $3"
  fi
}

for f in davrin.exe nelkor.dll DVTROP32.DLL DVRKBD32.DLL DVRKBD32.typ INSKBD.BIN PEKBD.BIN \
  EN2IN.RUL IN2EN.RUL tw_manager.exe manager_probe.dll; do
  [ -f "$BIN/$f" ] || { echo "FAIL: $f is not built"; echo "0 passed, 1 failed"; exit 1; }
done
if cmp -s "$BIN/DVTROP32.DLL" "$BIN/testmods/DVTROP32.DLL"; then
  echo "FAIL: bin/DVTROP32.DLL is the test adapter, not the Devanagari module"
  exit 1
fi

# A program folder of its own below the driver's folder, as installed.
DIR="$BIN/nktw"
rm -rf "$DIR"
mkdir -p "$DIR"
for f in davrin.exe nelkor.dll DVTROP32.DLL DVRKBD32.DLL DVRKBD32.typ INSKBD.BIN PEKBD.BIN \
  EN2IN.RUL IN2EN.RUL tw_manager.exe manager_probe.dll; do
  cp "$BIN/$f" "$DIR/"
done
cd "$DIR" || exit 2
# A manager left running by an earlier suite would refuse this one.
WINEPREFIX="${NK_WINEPREFIX:-$BIN/../wineprefix}" timeout 20 wineserver -k >/dev/null 2>&1
WINEPREFIX="${NK_WINEPREFIX:-$BIN/../wineprefix}" timeout 20 wineserver -w >/dev/null 2>&1

cleanup() {
  [ -n "$manager_pid" ] && "$RUN" ./tw_manager.exe close >/dev/null 2>&1
  WINEPREFIX="${NK_WINEPREFIX:-$BIN/../wineprefix}" timeout 20 wineserver -k >/dev/null 2>&1
  WINEPREFIX="${NK_WINEPREFIX:-$BIN/../wineprefix}" timeout 20 wineserver -w >/dev/null 2>&1
}
trap cleanup EXIT

# Prints the X window id of the first window titled like $1, once there is one.
wait_window() {
  local i wid
  for i in $(seq 1 "${2:-100}"); do
    wid=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
    [ -n "$wid" ] && echo "$wid" && return 0
    sleep 0.1
  done
  return 1
}

start_manager() {
  "$RUN" ./davrin.exe >/dev/null 2>&1 &
  manager_pid=$!
  wait_window '^TAV-MultiScript' 300 >/dev/null || { fail "the manager did not start"; return 1; }
  sleep 1.5 # the one-second splash, then the manager gives the focus back
}

close_manager() {
  "$RUN" ./tw_manager.exe close >/dev/null 2>&1 || fail "the manager did not close"
  wait "$manager_pid" 2>/dev/null
  manager_pid=""
}

# xdotool key names of English keys: a shifted character is Shift with the
# key's own character.
key_names() {
  python3 - "$1" <<'PY'
import sys
names = {"`": "grave", "-": "minus", "=": "equal", "[": "bracketleft", "]": "bracketright",
         ";": "semicolon", "'": "apostrophe", "\\": "backslash", ",": "comma", ".": "period",
         "/": "slash"}
normal = "1234567890-=qwertyuiop[]asdfghjkl;'`\\zxcvbnm,./"
upper = "!@#$%^&*()_+QWERTYUIOP{}ASDFGHJKL:\"~|ZXCVBNM<>?"
out = []
for word in sys.argv[1].split(" "):
    for c in word:
        if c in normal:
            out.append(names.get(c, c))
        else:
            base = normal[upper.index(c)]
            out.append("shift+" + names.get(base, base))
    out.append("space")
print(" ".join(out))
PY
}

# type_words FILE KEYS...: a new notepad, Caps Lock, the keys, Caps Lock and
# an English "j" (which ends the typing); notepad's text without the "j",
# in hexadecimal, into FILE.
type_words() {
  local out="$1"
  shift
  "$RUN" notepad >/dev/null 2>&1 &
  local pad_pid=$! wid text="" i
  wid=$(wait_window 'Untitled - Notepad') || { fail "notepad did not start"; return 1; }
  # Wine activates the window some time after X gave it the focus: an
  # English "x" shows when keys arrive, and is taken back.
  local ready=""
  for i in $(seq 1 8); do
    timeout 5 xdotool windowfocus --sync "$wid" >/dev/null 2>&1 || xdotool windowfocus "$wid"
    xdotool key x
    sleep 0.3
    "$RUN" ./tw_manager.exe notepad 'notepad.txt' >/dev/null 2>&1
    case "$(cat notepad.txt 2>/dev/null)" in *78*) ready=1; break ;; esac
  done
  [ -n "$ready" ] || fail "notepad does not receive keys"
  xdotool key ctrl+a BackSpace
  xdotool key --delay "$KEY_DELAY" Caps_Lock "$@" Caps_Lock j
  for i in $(seq 1 100); do
    "$RUN" ./tw_manager.exe notepad 'notepad.txt' >/dev/null 2>&1
    text=$(cat notepad.txt 2>/dev/null)
    case "$text" in *6A) break ;; esac
    sleep 0.2
  done
  "$RUN" ./tw_manager.exe notepad 'notepad.txt' close >/dev/null 2>&1
  wait "$pad_pid" 2>/dev/null
  echo "${text% 6A}" >"$out"
}

# Words of a hexadecimal text (separated by the space, 20), one a line.
split_words() { sed 's/ 20$//; s/ 20 /\n/g' "$1"; }

# compare NAME WORDS-FILE TEXT-A TEXT-B: word for word.
compare() {
  local name="$1" words="$2" a="$3" b="$4" n mismatch=0 i
  mapfile -t wa < <(split_words "$a")
  mapfile -t wb < <(split_words "$b")
  mapfile -t ww < "$words"
  checks=$((checks + 1))
  if [ "${#wa[@]}" != "${#ww[@]}" ] || [ "${#wb[@]}" != "${#ww[@]}" ]; then
    fail "$name: ${#ww[@]} words typed, ${#wa[@]} and ${#wb[@]} arrived"
  fi
  n=${#ww[@]}
  for ((i = 0; i < n; i++)); do
    if [ "${wa[$i]:-}" != "${wb[$i]:-}" ]; then
      mismatch=$((mismatch + 1))
      echo "  mismatch: ${ww[$i]}: Inscript [${wa[$i]:-}] Remington [${wb[$i]:-}]"
    fi
  done
  [ "$mismatch" = 0 ] || fail "$name: $mismatch of $n words differ"
  echo "$name: $n words compared, $mismatch differ"
}

grep -v '^#' "$WORDS" | cut -f1 >words.txt
inscript_keys=$(grep -v '^#' "$WORDS" | cut -f2 | tr '\n' ' ' | sed 's/ $//')
remington_keys=$(grep -v '^#' "$WORDS" | cut -f3 | tr '\n' ' ' | sed 's/ $//')

printf '[Settings]\r\n' >TAVWIN.INI
start_manager || exit 1
# shellcheck disable=SC2046
type_words inscript.txt $(key_names "$inscript_keys")
id=$("$RUN" ./tw_manager.exe select "Remington (Hindi typewriter)" 2>&1 | tr -d '\r')
check "Remington is the first item of &Keyboard > &Typewriter" "165" "$id"
# shellcheck disable=SC2046
type_words remington.txt $(key_names "$remington_keys")
compare "Remington against Inscript" words.txt inscript.txt remington.txt

close_manager
check "KEYBOARD written" "162" "$(grep -a '^KEYBOARD=' TAVWIN.INI | cut -d= -f2 | tr -d '\r')"
check "KbdTypeWriterDLL written" "DVRKBD32.DLL" \
  "$(grep -a '^KbdTypeWriterDLL=' TAVWIN.INI | tr -d '\r' | sed 's/.*\\//')"

# The next start comes back with Remington: its keys type the same words.
head -n 20 words.txt >words20.txt
start_manager || exit 1
# shellcheck disable=SC2046
type_words restarted.txt $(key_names "$(grep -v '^#' "$WORDS" | head -n 20 | cut -f3 | tr '\n' ' ' | sed 's/ $//')")
split_words inscript.txt | head -n 20 | sed ':a;N;$!ba;s/\n/ 20 /g' >inscript20.txt
compare "Remington after a restart" words20.txt inscript20.txt restarted.txt
close_manager

passed=$((checks - failures))
echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
