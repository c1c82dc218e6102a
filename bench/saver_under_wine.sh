#!/usr/bin/env bash
# Measures the real whirlbox.scr (64-bit build) under Wine on a private 1920 x 1080 Xvfb display:
#  - start-up: the time from starting the process to its first frame on the screen, beside the time a
#    trivial Windows program (the tests' abort probe, which only shows a message box) takes to show its
#    window, started the same way;
#  - CPU: the saver process's share of one core over 20 s at the default settings and at size 100 /
#    speed 100 (and the X server's, which carries the copies to the screen).
#   bench/saver_under_wine.sh [runs]      after scripts/test.sh (or a build of the windows preset)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-5}
saver=$root/build/windows/whirlbox.scr
trivial=$root/build/windows/tests/win/abort_probe.exe
# The display, the prefix and a persistent wineserver come from scripts/wine-session.sh.
if [ -z "${WHIRLBOX_BENCH_SESSION:-}" ]; then
  WHIRLBOX_BENCH_SESSION=1 WHIRLBOX_SCREEN=1920x1080x24 WINEPREFIX="$root/build/bench-prefix" \
    exec scripts/wine-session.sh "$0" "$@"
fi
xvfb=$(pgrep -f "^Xvfb $DISPLAY " | head -n 1)
samples="$WINEPREFIX/drive_c/whirlbox/samples"
python3 scripts/make_samples.py "$samples" --prefix 'C:\whirlbox\samples'
ini="$WINEPREFIX/drive_c/windows/whirlbox.ini"

now() { date +%s.%N; }
lit() {  # true once the screen holds a pixel that is not black
  xwd -root -silent | python3 -c 'import sys; d = sys.stdin.buffer.read()[3000:]; sys.exit(0 if d.strip(b"\0") else 1)'
}

median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

cp "$samples/whirlbox.ini" "$ini"
: > /tmp/whirlbox-bench-saver; : > /tmp/whirlbox-bench-trivial
for ((r = 0; r < runs; r++)); do
  start=$(now); wine "$trivial" 551 >/dev/null 2>&1 &
  trivial_pid=$!
  until xwininfo -root -children 2>/dev/null | grep -q '"Fatal Error Code 551"'; do
    [ "$(awk -v a="$(now)" -v b="$start" 'BEGIN { print (a - b > 60) }')" = 0 ] || { echo "no window"; exit 1; }
    sleep 0.01
  done
  awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.3f\n", a - b }' >> /tmp/whirlbox-bench-trivial
  kill $trivial_pid; wait $trivial_pid 2>/dev/null || true
  sleep 1  # let the display settle, so the saver is not deactivated by the window that just went away
  start=$(now); wine "$saver" /s &
  pid=$!
  until lit; do
    kill -0 $pid 2>/dev/null || { echo "the saver ended before its first frame"; exit 1; }
    sleep 0.01
  done
  awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.3f\n", a - b }' >> /tmp/whirlbox-bench-saver
  kill $pid; wait $pid 2>/dev/null || true
  sleep 0.5
done
echo "start-up, median of $runs: first frame on screen $(median < /tmp/whirlbox-bench-saver) s;" \
     "trivial program's window $(median < /tmp/whirlbox-bench-trivial) s"

cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }
measure_cpu() {  # <label> <size> <speed>
  { head -n 6 "$samples/whirlbox.ini"; printf '%s %s\r\n' "$2" "$3"; } > "$ini"
  wine "$saver" /s &
  local pid=$! linux x0 x1 s0 s1
  sleep 3
  linux=$(pgrep -f 'whirlbox.scr /s' | head -n 1)
  s0=$(cpu_of "$linux"); x0=$(cpu_of "$xvfb")
  sleep 20
  s1=$(cpu_of "$linux"); x1=$(cpu_of "$xvfb")
  kill $pid; wait $pid 2>/dev/null || true
  # /proc counts in hundredths of a second: ticks over 20 s are a percentage times 20.
  awk -v what="$1" -v s=$((s1 - s0)) -v x=$((x1 - x0)) \
    'BEGIN { printf "%s: saver %.1f %% of one core, X server %.1f %%\n", what, s / 20, x / 20 }'
}
measure_cpu "defaults (size 50, speed 50)" 50 50
measure_cpu "size 100, speed 100" 100 100
