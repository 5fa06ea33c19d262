#!/usr/bin/env bash
# The soak test: random keystrokes typed into Wine's notepad through the whole
# system, the manager davrin.exe started from its program folder with its
# driver and script modules, and notepad's text compared with a model of what
# it must show at every checkpoint and at the end (tests/soak).
#
#   scripts/soak.sh [--keys N] [--seed S] [--bin DIR] [--session] [typist options]
#
# --keys N      keystrokes (default 100000)
# --seed S      the random stream (default: from the clock; printed, so a run
#               and what it finds can be repeated)
# --bin DIR     bin folder of the win64 build (default $NK_BUILD/win64/bin)
# --script XX   the script the manager starts with (DV, RM or SD; default
#               DV); the hot keys then choose Roman and Devanagari
# --session     use the running X display and Wine prefix (the test suite's);
#               otherwise a virtual display is started and stopped here
# Typist options: --check-every N (keys per checkpoint), --fault backspace
# (a model with a wrong Backspace: the run must report mismatches).
#
# The program folder is a fresh copy below bin/ (bin/soak.PID, removed at
# the end) with settings of its own: Devanagari, the Inscript keyboard, Caps
# Lock as the switch key. Without --session the run has its own display and
# Wine prefix (NK_SOAK_PREFIX, default build/win64/soakprefix), so that a
# long run goes on while the test suite uses the suite's.
set -uo pipefail
[ -n "${NK_SOAK_PREFIX:-}" ] && export NK_WINEPREFIX="$NK_SOAK_PREFIX"
source "$(dirname "$0")/common.sh"
keys=100000
seed=""
bin="$NK_BUILD/win64/bin"
session=0
script=DV
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --keys) keys="$2"; shift 2 ;;
    --seed) seed="$2"; shift 2 ;;
    --bin) bin="$2"; shift 2 ;;
    --session) session=1; shift ;;
    --script) script="$2"; shift 2 ;;
    *) extra+=("$1"); shift ;;
  esac
done
[ -n "$seed" ] || seed=$(date +%s)
bin="$(cd "$bin" && pwd)"
if [ "$session" = 1 ]; then
  export NK_WINEPREFIX="${NK_WINEPREFIX:-$bin/../wineprefix}"
elif [ -z "${NK_SOAK_PREFIX:-}" ]; then
  export NK_WINEPREFIX="$NK_BUILD/win64/soakprefix"
fi
export WINEPREFIX="$NK_WINEPREFIX"

folder="$bin/soak.$$"
rm -rf "$folder"
mkdir -p "$folder"
for f in davrin.exe nelkor.dll DVTROP32.DLL RMTROP32.DLL SDTROP32.DLL INSKBD.BIN UKKBD.BIN \
         PEKBD.BIN EN2IN.RUL IN2EN.RUL soak_typist.exe; do
  [ -f "$bin/$f" ] && cp "$bin/$f" "$folder/"
done
printf '[Settings]\r\nDefaultScript=%s\r\nTAV=ON\r\nInscriptSwitch=20\r\nKeyboardOverlay=INSKBD.BIN\r\nKEYBOARD=160\r\nDualFont=0\r\nHyphenation=1\r\nApplication_Category=0\r\n' \
  "$script" > "$folder/TAVWIN.INI"

# The hooks map the driver into Wine's long-lived desktop processes; ending
# the Wine session afterwards leaves the next program a fresh shared section.
cleanup() {
  timeout 20 wineserver -k >/dev/null 2>&1
  timeout 20 wineserver -w >/dev/null 2>&1
  [ "$session" = 1 ] || stop_session
  rm -rf "$folder"
}
trap cleanup EXIT INT TERM
if [ "$session" = 0 ]; then
  start_xvfb || exit 2
  prepare_prefix
fi

echo "soak: $keys keys, seed $seed, starting script $script, program folder $folder"
( cd "$folder" && exec "$WINE64" davrin.exe ) >/dev/null 2>&1 &
for _ in $(seq 1 150); do
  xdotool search --name '^TAV-MultiScript' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1.5 # the manager's one-second splash
( cd "$folder" && exec "$WINE64" notepad ) >/dev/null 2>&1 &
cd "$folder" || exit 2
case "$script" in RM) code=A ;; SD) code=R ;; *) code=B ;; esac
"$WINE64" soak_typist.exe "$keys" "$seed" --script "$code" "${extra[@]}"
