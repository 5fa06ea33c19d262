#!/usr/bin/env bash
# The x64 installer under Wine, in a fresh private prefix, as a user meets it:
#   - the prefix's files and registry are recorded;
#   - silent install: programs, modules, fonts (file and registry value),
#     Start-menu shortcut and "Programs and Features" entry are there, no
#     "Run" entry (a silent install starts nothing with Windows unless asked);
#   - the installed manager, started through its shortcut, types Devanagari
#     into Wine's notepad: notepad's text must be the glyph codes of
#     "namaste hindI" as the Devanagari adapter gives them;
#   - upgrade: a setting changed in the running manager (the Bengali hot
#     key) survives a second silent install (with /AUTOSTART: the "Run"
#     entry appears), which closes the manager through its own Exit command
#     first and stays in the installed folder;
#   - silent uninstall with the manager running; only the driver, still
#     mapped in Wine's desktop process, may wait for the restart; after a
#     restart (wineboot -r) the prefix's files must be exactly as recorded
#     and its registry must hold nothing of the product's.
# Ends with "install check: N checks, N failed" and a non-zero status on any
# failure.
#
#   scripts/install_check.sh [--dir FOLDER] [INSTALLER]
# INSTALLER defaults to $NK_BUILD/installers/velta-setup-x64.exe; --dir
# installs into FOLDER (a Windows path, e.g. a deep one below Program Files)
# instead of the installer's default, with its own prefix and work folder.
set -u
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
NK_BUILD="${NK_BUILD:-$ROOT/build}"
pfwin='C:\Program Files\Velta Script Manager'
name=install-check
install_dir=()
if [ "${1:-}" = "--dir" ]; then
  pfwin="${2:?--dir needs a folder}"
  name=install-check-dir
  install_dir=("/D=$pfwin")
  shift 2
fi
export NK_WINEPREFIX="$NK_BUILD/win64/$name-prefix"
source "$ROOT/scripts/common.sh"
installer="$(realpath -m "${1:-$NK_BUILD/installers/velta-setup-x64.exe}")"
[ -f "$installer" ] || "$ROOT/scripts/package.sh" >/dev/null || exit 1
bin="$NK_BUILD/win64/bin"
glyph_dump="$NK_BUILD/native/tests/modules/glyph_dump"
for tool in "$bin/nk_xp_notepad.exe" "$glyph_dump"; do
  [ -x "$tool" ] || [ -f "$tool" ] || { echo "missing $tool: run scripts/build.sh" >&2; exit 1; }
done

work="$NK_BUILD/$name"
rm -rf "$work" "$NK_WINEPREFIX"
mkdir -p "$work"
checks=0
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { # NAME EXPECTED ACTUAL
  checks=$((checks + 1))
  [ "$2" = "$3" ] || { fail "$1"; echo "  expected: $2"; echo "  actual:   $3"; }
}
exists() { # NAME PATH
  checks=$((checks + 1))
  [ -e "$2" ] || fail "$1: $2 is missing"
}
w() { "$WINE64" "$@" 2>/dev/null; }
# wait_until TENTHS COMMAND...: bounded wait for a condition nothing signals.
wait_until() {
  local n="$1" i
  shift
  for i in $(seq 1 "$n"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
manager_title() { xdotool getwindowname "$(xdotool search --name '^TAV-MultiScript' | head -n 1)"; }
manager_running() { xdotool search --name '^TAV-MultiScript' >/dev/null 2>&1; }
manager_gone() { ! manager_running; }
manager_left_devanagari() { [ "$(manager_title)" != "TAV-MultiScript [Devanagari]" ]; }
splash_gone() { ! xdotool search --name '^VELTA SCRIPT MANAGER$' >/dev/null 2>&1; }

drive="$NK_WINEPREFIX/drive_c"
pf="$drive/$(echo "${pfwin#?:\\}" | tr '\\' /)"
shortcut='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Velta Script Manager.lnk'
fonts_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VeltaScriptManager'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'

winpath() { echo "Z:$1" | tr / '\\'; }
# The prefix's state: every file and folder, and the registry as text.
snapshot() { # NAME
  (cd "$drive" && find . | LC_ALL=C sort) > "$work/$1.files"
  w regedit /E 'Z:'"$(echo "$work/$1.reg" | tr / '\\')"
  iconv -f UTF-16LE -t UTF-8 "$work/$1.reg" 2>/dev/null | tr -d '\r' > "$work/$1.reg.txt"
}

start_manager() {
  w start "$shortcut" &
  wait_until 150 manager_running || { fail "the installed manager did not start"; return 1; }
  wait_until 50 splash_gone
}

start_xvfb || exit 1
cleanup() { stop_session; }
trap cleanup EXIT INT TERM
started=$(date +%s)
prepare_prefix
timeout 30 wineserver -w
snapshot before

# --- silent install ---------------------------------------------------------
if [ ${#install_dir[@]} -eq 0 ]; then
  w "$installer" /S
else
  # "/D=" is taken only unquoted and last, which cmd leaves as it is given.
  w cmd /c "$(winpath "$installer") /S ${install_dir[0]}"
fi
check "installer exit status" 0 $?
for f in davrin.exe nelkor.dll DVTROP32.DLL BNTROP32.DLL INSKBD.BIN PEKBD.BIN EN2IN.RUL \
  TAVWIN.INI uninstall.exe; do
  exists "installed file" "$pf/$f"
done
check "programs installed: the manager and the uninstaller, no test program" \
  "davrin.exe uninstall.exe" "$(cd "$pf" && ls ./*.exe ./*.EXE 2>/dev/null | sed 's|^\./||' | sort | tr '\n' ' ' | sed 's/ $//')"
check "fonts installed" "$(ls "$bin"/*.ttf | wc -l)" "$(ls "$drive/windows/Fonts/"*Velta.ttf 2>/dev/null | wc -l)"
exists "font file" "$drive/windows/Fonts/DV-Velta.ttf"
check "font registered" "DV-Velta.ttf" \
  "$(w reg query "$fonts_key" /v 'DV-Velta (TrueType)' | sed -n 's/.*REG_SZ[[:space:]]*//p' | tr -d '\r')"
exists "Start-menu shortcut" "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Velta Script Manager.lnk"
check "Programs and Features entry" "\"$pfwin\\uninstall.exe\"" \
  "$(w reg query "$uninstall_key" /v UninstallString | sed -n 's/.*REG_SZ[[:space:]]*//p' | tr -d '\r')"
check "no Run entry after a silent install" "" \
  "$(w reg query "$run_key" /v 'Velta Script Manager' | grep -c REG_SZ | sed 's/^0$//')"
check "fresh settings" "DV" "$(sed -n 's/^DefaultScript=//p' "$pf/TAVWIN.INI" | tr -d '\r')"

# --- the installed manager types Devanagari into notepad ----------------------
# Inscript keys of "namaste hindI" and the ISCII they type (the Inscript table).
keys='vcmdls ufvdor'
expected=$(printf '\xc6\xcc\xd7\xe8\xc2\xe1\n\xd8\xdb\xc6\xe8\xc4\xdc\n' | "$glyph_dump" DV |
  od -An -tx1 -v | tr -s ' \n' ' ' | sed 's/^ //; s/ $//' | sed 's/ 0a$//; s/ 0a / 20 /' |
  tr 'a-f' 'A-F')
read_notepad() {
  (cd "$bin" && w ./nk_xp_notepad.exe "$(echo "$work/notepad.txt" | sed 's|^|Z:|; s|/|\\|g')" "$@")
  tr -d '\r\n' < "$work/notepad.txt"
}
notepad_has() { [ "$(read_notepad)" = "$1" ]; }
if start_manager; then
  w notepad &
  wait_until 100 xdotool search --name 'Notepad' || fail "notepad did not start"
  pad=$(xdotool search --name 'Notepad' | head -n 1)
  # Keys reach notepad once Wine has activated it, and a loaded machine can
  # still lose the focus to the manager finishing its start: an English "x"
  # shows that keys arrive, and a word that did not arrive whole is typed
  # again from an empty notepad, in English mode.
  for attempt in 1 2 3; do
    # The driver shows script typing in the manager's title.
    [ "$(manager_title)" = "TAV-MultiScript [English]" ] || xdotool key Caps_Lock
    xdotool windowfocus --sync "$pad" 2>/dev/null || xdotool windowfocus "$pad"
    xdotool mousemove --window "$pad" 300 150 click 1
    xdotool key ctrl+a BackSpace x
    wait_until 30 notepad_has 78 || continue
    xdotool key BackSpace
    wait_until 20 notepad_has "" || continue
    xdotool key Caps_Lock
    sleep 0.3
    xdotool type --delay 120 "$keys"
    wait_until 50 notepad_has "$expected" && break
    echo "typing attempt $attempt: notepad shows '$(read_notepad)'"
  done
  check "Devanagari typed into notepad (glyph codes)" "$expected" "$(read_notepad)"

  # --- a changed setting survives an upgrade ----------------------------------
  xdotool key ctrl+shift+F3 # Bengali, while typing in script
  # The manager's title leaves Devanagari when Bengali is active.
  wait_until 50 manager_left_devanagari || fail "the Bengali hot key changed nothing"
  xdotool key Caps_Lock
  read_notepad close >/dev/null
  w "$installer" /S /AUTOSTART
  check "upgrade exit status" 0 $?
  checks=$((checks + 1))
  manager_gone || fail "the upgrade left the manager running"
  check "the upgrade stays in the installed folder" "\"$pfwin\\uninstall.exe\"" \
    "$(w reg query "$uninstall_key" /v UninstallString | sed -n 's/.*REG_SZ[[:space:]]*//p' | tr -d '\r')"
  check "Run entry asked for with /AUTOSTART" "\"$pfwin\\davrin.exe\"" \
    "$(w reg query "$run_key" /v 'Velta Script Manager' | sed -n 's/.*REG_SZ[[:space:]]*//p' | tr -d '\r')"
  check "the changed setting survives the upgrade" "BN" \
    "$(sed -n 's/^DefaultScript=//p' "$pf/TAVWIN.INI" | tr -d '\r')"
  check "one fresh settings file, not two" 1 "$(grep -c '^\[Settings\]' "$pf/TAVWIN.INI")"
fi

# --- silent uninstall with the manager running, nothing left -----------------
start_manager
w "$pf/uninstall.exe" /S
# The uninstaller runs on from a copy of itself in the temporary folder;
# its last step removes its "Programs and Features" entry.
uninstalled() { ! w reg query "$uninstall_key" >/dev/null; }
wait_until 300 uninstalled || fail "the uninstaller did not finish"
checks=$((checks + 1))
manager_gone || fail "the uninstaller left the manager running"
# Wine never unloads a hook library from a process it was loaded into: its
# desktop process keeps nelkor.dll, which the uninstaller can then only
# schedule for removal at the next restart (Windows unloads it from hooked
# programs at their next message). Nothing else may be left before that.
left=$(cd "$pf" 2>/dev/null && find . -type f | sed 's|^\./||' | tr '\n' ' ')
echo "left for the restart: ${left:-nothing}"
check "only the driver, in use, waits for the restart" "" "${left//nelkor.dll /}"
# The restart: the session ends, and the next one carries out what was
# scheduled for it.
timeout 30 wineserver -k
timeout 30 wineserver -w
w wineboot -r
snapshot after

diff "$work/before.files" "$work/after.files" > "$work/files.diff"
# Text values that regedit writes as hex (multi-strings, expandable strings)
# are decoded, so that a file name in them is seen too.
diff "$work/before.reg.txt" "$work/after.reg.txt" | python3 -c '
import re, sys
for line in sys.stdin:
    m = re.search(r"=hex\((2|7)\):([0-9a-f,]*)", line)
    if m:
        data = bytes(int(b, 16) for b in m.group(2).split(",") if b)
        line = line.rstrip("\n") + "  (" + data.decode("utf-16-le", "replace") + ")\n"
    sys.stdout.write(line)' > "$work/reg.diff"
ours='velta|davrin|nelkor|tavwin|trop32|bfa32|kbd32|\.rul|inskbd|pekbd|ukkbd|loratav|\.ttf'
checks=$((checks + 1))
if grep -Eiq "$ours" "$work/files.diff" "$work/reg.diff"; then
  fail "left behind after uninstall:"
  grep -Ei "$ours" "$work/files.diff" "$work/reg.diff" | head -n 20
fi
# Files: exactly as before. The registry: Wine's own keys change (notepad's
# and the console's settings), none of ours may.
check "files changed by install and uninstall" "" "$(grep '^[<>]' "$work/files.diff" | head -n 5)"
echo "registry lines changed: $(grep -c '^[<>]' "$work/reg.diff")" \
  "(keys: $(grep -o '^[<>] \[[^]]*\]' "$work/reg.diff" | sed 's/^[<>] //' | sort -u | tr '\n' ' '))"
echo "install check: $checks checks, $failures failed ($(($(date +%s) - started)) s)"
[ "$failures" -eq 0 ]
