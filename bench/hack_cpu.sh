#!/usr/bin/env bash
# CPU and memory of the native whirlbox hack beside the Windows saver under Wine, on one private
# 1920 x 1080 Xvfb display, the two runs alternating: at the default settings (size 50, speed 50)
# and at size 100 / speed 100, each run measured for a fixed time after a 3 s start. Printed per
# program: its own share of one core, the X server's, Wine's server's (the Windows saver only) and
# their total; then the medians. Then the hack's resident memory at the start and at the end of a
# long run at the default settings.
#   bench/hack_cpu.sh [rounds] [seconds per run] [minutes of the memory run]   (defaults 3, 15, 5)
# Needs the native build (build/native) and the x86-64 Windows build's whirlbox.scr (build/windows).
# Exits 1 when the hack's total is not below the saver's at the defaults, or above it at 100 / 100,
# or when a run measured nothing (a program that ended or never started).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
rounds=${1:-3} seconds=${2:-15} minutes=${3:-5}
hack=${WHIRLBOX_HACK:-$root/build/native/src/x11/whirlbox}  # another program: to see the bench fail
saver=$root/build/windows/whirlbox.scr
for program in "$hack" "$saver"; do [ -f "$program" ] || { echo "hack_cpu: build $program first"; exit 1; }; done
if [ -z "${WHIRLBOX_BENCH_SESSION:-}" ]; then
  WHIRLBOX_BENCH_SESSION=1 WHIRLBOX_SCREEN=1920x1080x24 WINEPREFIX="$root/build/bench-prefix" \
    exec scripts/wine-session.sh "$0" "$@"
fi
xvfb=$WHIRLBOX_XVFB_PID
samples="$WINEPREFIX/drive_c/whirlbox/samples"
python3 scripts/make_samples.py "$samples" --prefix 'C:\whirlbox\samples' >/dev/null
ini="$WINEPREFIX/drive_c/windows/whirlbox.ini"
linux_ini=$(mktemp)
results=$(mktemp)
trap 'rm -f "$linux_ini" "$results"' EXIT
wineserver_pid=""
for pid in $(pgrep wineserver); do  # Debian names it wineserver64  # this prefix's server, not another session's
  tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && wineserver_pid=$pid
done

ticks() { [ -n "$1" ] && [ -r "/proc/$1/stat" ] && awk '{print $14 + $15}' "/proc/$1/stat" || echo 0; }

# The saver's Linux process: the one of this prefix.
saver_pid() {
  local linux
  for linux in $(pgrep -f 'whirlbox.scr /s'); do
    tr '\0' '\n' < "/proc/$linux/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$linux"; return; }
  done
}

run_one() {  # <which: hack|saver> <size> <speed> <label>
  local started pid p0 x0 w0 p1 x1 w1
  { head -n 6 "$samples/whirlbox.ini"; printf '%s %s\r\n' "$2" "$3"; } > "$ini"
  printf '%s\n' "$samples"/face1.bmp "$samples"/face2.gif "$samples"/face3.jpg "$samples"/face4.jpg \
    "$samples"/face5.bmp "$samples"/face6.gif "$2 $3" > "$linux_ini"
  if [ "$1" = hack ]; then "$hack" -root --settings "$linux_ini" & else wine "$saver" /s & fi
  started=$!
  sleep 3
  if [ "$1" = hack ]; then pid=$started; else pid=$(saver_pid); fi
  p0=$(ticks "$pid") x0=$(ticks "$xvfb") w0=$(ticks "$wineserver_pid")
  sleep "$seconds"
  p1=$(ticks "$pid") x1=$(ticks "$xvfb") w1=$(ticks "$wineserver_pid")
  kill "$started" 2>/dev/null || true  # a program that ended early is reported below
  wait "$started" 2>/dev/null || true
  [ "$1" = hack ] && w1=$w0  # Wine's server does not work for the native hack
  # /proc counts hundredths of a second: ticks over the run are a percentage times its seconds.
  awk -v which="$1" -v label="$4" -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v w=$((w1 - w0)) -v s="$seconds" \
    -v alive="$([ -n "$pid" ] && [ "$p1" -gt 0 ] && echo 1 || echo 0)" \
    'BEGIN { printf "%s %s %.1f %.1f %.1f %.1f %d\n", label, which, p / s, x / s, w / s, (p + x + w) / s, alive }' \
    >> "$results"
  tail -n 1 "$results" | awk '{ printf "  %-9s %-5s own %5.1f %%  X server %5.1f %%  wineserver %5.1f %%  total %5.1f %%\n", $1, $2, $3, $4, $5, $6 }'
}

echo "CPU, one core = 100 %, $rounds rounds of ${seconds} s, $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg):"
for ((r = 1; r <= rounds; r++)); do
  for setting in "50 50 defaults" "100 100 100/100"; do
    set -- $setting
    # Which goes first alternates, so a drift of the machine's load favours neither.
    if ((r % 2)); then run_one hack "$1" "$2" "$3"; run_one saver "$1" "$2" "$3"
    else run_one saver "$1" "$2" "$3"; run_one hack "$1" "$2" "$3"; fi
  done
done
verdict=$(python3 - "$results" <<'PY'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
bad = [r for r in rows if r[6] != "1"]
if bad:
    print("FAIL nothing measured in %d run(s): %s" % (len(bad), ", ".join(r[1] + " " + r[0] for r in bad)))
    sys.exit()
med = {}
for label in ("defaults", "100/100"):
    for which in ("hack", "saver"):
        vals = [r for r in rows if r[0] == label and r[1] == which]
        med[label, which] = [statistics.median(float(r[k]) for r in vals) for k in (2, 3, 4, 5)]
        own, x, w, total = med[label, which]
        print("median %-9s %-5s own %5.1f %%  X server %5.1f %%  wineserver %5.1f %%  total %5.1f %%" % (label, which, own, x, w, total))
ok = med["defaults", "hack"][3] < med["defaults", "saver"][3] and med["100/100", "hack"][3] <= med["100/100", "saver"][3]
print("PASS" if ok else "FAIL the hack's total is not below the saver's (defaults) or is above it (100/100)")
PY
)
echo "$verdict"

# Memory: the hack's resident set after its start and at the end of the long run.
printf '%s\n' "$samples"/face1.bmp "$samples"/face2.gif "$samples"/face3.jpg "$samples"/face4.jpg \
  "$samples"/face5.bmp "$samples"/face6.gif "50 50" > "$linux_ini"
"$hack" -root --settings "$linux_ini" &
pid=$!
sleep 3
start_rss=$(awk '/^VmRSS/ {print $2}' /proc/$pid/status 2>/dev/null || echo gone)
sleep $((minutes * 60))
end_rss=$(awk '/^VmRSS/ {print $2}' /proc/$pid/status 2>/dev/null || echo gone)
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
echo "memory over $minutes min at the defaults: VmRSS $start_rss kB at the start, $end_rss kB at the end"
[[ $verdict == *PASS* ]] && [ "$start_rss" != gone ] && [ "$end_rss" != gone ]
