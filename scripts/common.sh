# Sourced by the scripts: folders and the Xvfb/Wine session helpers.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
NK_BUILD="${NK_BUILD:-$ROOT/build}"
export NK_WINEPREFIX="${NK_WINEPREFIX:-$NK_BUILD/win64/wineprefix}"
export WINEPREFIX="$NK_WINEPREFIX"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINE64=/usr/lib/wine/wine64
NK_XVFB_PID=""

# Start Xvfb on the first free display and export DISPLAY.
start_xvfb() {
  local n
  for n in $(seq 91 160); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    NK_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$NK_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$NK_XVFB_PID" 2>/dev/null
    NK_XVFB_PID=""
  done
  echo "could not start Xvfb" >&2
  return 1
}

# Stop Wine's server for our prefix and the Xvfb we started; leaves nothing behind.
stop_session() {
  WINEPREFIX="$NK_WINEPREFIX" timeout 20 wineserver -k >/dev/null 2>&1 || true
  if [ -n "$NK_XVFB_PID" ]; then
    kill "$NK_XVFB_PID" 2>/dev/null || true
    wait "$NK_XVFB_PID" 2>/dev/null || true
    NK_XVFB_PID=""
  fi
}

# Create the project-local Wine prefix once.
prepare_prefix() {
  if [ ! -f "$NK_WINEPREFIX/system.reg" ]; then
    mkdir -p "$NK_WINEPREFIX"
    timeout 120 "$WINE64" wineboot -i >/dev/null 2>&1 || true
    timeout 60 wineserver -w >/dev/null 2>&1 || true
  fi
  # Xvfb runs no window manager: windows must be unmanaged, or Wine waits two
  # seconds for a manager at every hide and destroy.
  if [ ! -f "$NK_WINEPREFIX/.nk-unmanaged" ]; then
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 &&
      touch "$NK_WINEPREFIX/.nk-unmanaged"
  fi
}
