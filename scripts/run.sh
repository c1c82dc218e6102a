#!/usr/bin/env bash
# Shows the saver on the bundled sample pictures under Wine.
#   scripts/run.sh [seconds]
# With a display (DISPLAY set and reachable) it runs whirlbox.scr full-screen there until a key, a click
# or a mouse move ends it. Without one it runs the saver on a private Xvfb display for the given time
# (default 10 s), takes a screenshot twice a second and writes them, with an animated GIF, into
# build/run-<time>/, printing where.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-10}

scripts/install-deps.sh >/dev/null
[ -f build/windows/CMakeCache.txt ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target whirlbox >/dev/null

export WINEPREFIX="$root/build/run-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
saver="$root/build/windows/whirlbox.scr"

prepare_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run: preparing the Wine prefix $WINEPREFIX (once)"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  python3 scripts/make_samples.py "$WINEPREFIX/drive_c/whirlbox/samples" --prefix 'C:\whirlbox\samples'
  cp "$WINEPREFIX/drive_c/whirlbox/samples/whirlbox.ini" "$WINEPREFIX/drive_c/windows/whirlbox.ini"
}

if [ -z "${WHIRLBOX_RUN_CAPTURE:-}" ] && [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
  prepare_prefix
  echo "run: whirlbox.scr /s on $DISPLAY; press a key or click to end it"
  exec wine "$saver" /s
fi

# No display: run again inside a private one, which scripts/wine-session.sh provides and stops.
if [ -z "${WHIRLBOX_RUN_CAPTURE:-}" ]; then
  WHIRLBOX_RUN_CAPTURE=1 exec scripts/wine-session.sh "$0" "$@"
fi
out="$root/build/run-$(date +%Y%m%d-%H%M%S)"
mkdir -p "$out"
prepare_prefix
wine "$saver" /s &
saver_pid=$!
# Wait for the saver's window before the clock starts: a fresh prefix is slow to show the first one.
for _ in $(seq 1 300); do
  xwininfo -root -tree 2>/dev/null | grep -q '1024x768+0+0' && break
  sleep 0.1
done
frames=$((seconds * 2))
for i in $(seq -w 1 "$frames"); do
  xwd -root -silent | convert xwd:- "$out/shot-$i.png"
  sleep 0.5
done
kill "$saver_pid" 2>/dev/null || true
convert -delay 50 -loop 0 "$out"/shot-*.png "$out/whirlbox.gif"
echo "run: $frames screenshots and an animated GIF of ${seconds} s of the saver are in $out"
