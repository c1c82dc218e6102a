#!/usr/bin/env bash
# Runs a command with a private X display (Xvfb) and a persistent wineserver for a Wine prefix kept
# in the build tree, then stops both. Used by the test command for the Windows tests.
#   scripts/wine-session.sh <command> [args...]
# WHIRLBOX_SCREEN sets the display's size and depth (default 1024x768x24); WHIRLBOX_XVFB_ARGS adds
# arguments to Xvfb (more screens, Xinerama).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# A free display number: no lock file and no socket.
display=${WHIRLBOX_DISPLAY:-}
if [ -z "$display" ]; then
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
  done
fi
# Unquoted on purpose: the extra arguments split at blanks.
Xvfb ":$display" -screen 0 "${WHIRLBOX_SCREEN:-1024x768x24}" -nolisten tcp ${WHIRLBOX_XVFB_ARGS:-} >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-session: preparing the Wine prefix $WINEPREFIX"
  # A `wine64` on PATH is the emulated 32-bit Wine's (scripts/wine32-setup.sh): its wineboot fills syswow64.
  if command -v wine64 >/dev/null; then wine64 wineboot -i >/dev/null 2>&1 || true; else wineboot -i >/dev/null 2>&1 || true; fi
  wineserver -w || true
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-session: wineboot could not prepare $WINEPREFIX"; exit 1; }
fi
wineserver -p
# Start Wine's own services now, detached from the command's output: a service inherits the pipes of
# the first program that starts it, and ctest would wait for them to close.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
"$@"
