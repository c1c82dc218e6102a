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

# Xvfb picks a free display number itself (-displayfd) unless WHIRLBOX_DISPLAY names one: two sessions
# that look for a free number at the same moment would otherwise share one server, and the first to
# end would take the other's display with it.
displayfd=$(mktemp)
if [ -n "${WHIRLBOX_DISPLAY:-}" ]; then where=":$WHIRLBOX_DISPLAY"; else where="-displayfd 3"; fi
# Unquoted on purpose: the display choice and the extra arguments split at blanks.
Xvfb $where -screen 0 "${WHIRLBOX_SCREEN:-1024x768x24}" -nolisten tcp ${WHIRLBOX_XVFB_ARGS:-} \
  >/dev/null 2>&1 3>"$displayfd" &
xvfb=$!
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -f "$displayfd"
}
trap cleanup EXIT
display=${WHIRLBOX_DISPLAY:-}
for _ in $(seq 1 100); do
  [ -n "$display" ] || display=$(head -n 1 "$displayfd")
  [ -n "$display" ] && [ -e "/tmp/.X11-unix/X$display" ] && DISPLAY=":$display" xdpyinfo >/dev/null 2>&1 && break
  kill -0 "$xvfb" 2>/dev/null || { echo "wine-session: Xvfb did not start"; exit 1; }
  sleep 0.1
done
[ -n "$display" ] || { echo "wine-session: Xvfb named no display"; exit 1; }
export DISPLAY=":$display"
export WHIRLBOX_XVFB_PID=$xvfb  # for benches that count the X server's CPU time

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
