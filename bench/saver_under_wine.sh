#!/usr/bin/env bash
# Measures the real whirlbox.scr (64-bit build) under Wine on a private 1920 x 1080 Xvfb display:
#  - start-up: the time from starting the process to its first non-black pixel on the screen (the
#    screen polled with XGetImage every 5 ms), with the six small sample pictures and with six large
#    photos (4096 x 4096 progressive and 6028 x 3391 baseline JPEGs, alternating), beside a trivial
#    Windows program (the tests' abort probe, which only shows a message box) measured the same way
#    in the same runs; and each process's peak memory (VmHWM);
#  - CPU: the saver process's share of one core over 20 s at the default settings and at size 100 /
#    speed 100 (and the X server's, which carries the copies to the screen).
#   bench/saver_under_wine.sh [runs] [other.scr]   after scripts/test.sh (or the windows and native builds)
# With other.scr, that saver's start-up is measured too, in the same runs (e.g. a build of main).
# WHIRLBOX_BENCH_CPU=0 leaves out the CPU part.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-5}
other=${2:-}
saver=$root/build/windows/whirlbox.scr
trivial=$root/build/windows/tests/win/abort_probe.exe
writer=$root/build/native/bench/load_bench
# The display, the prefix and a persistent wineserver come from scripts/wine-session.sh.
if [ -z "${WHIRLBOX_BENCH_SESSION:-}" ]; then
  WHIRLBOX_BENCH_SESSION=1 WHIRLBOX_SCREEN=1920x1080x24 WINEPREFIX="$root/build/bench-prefix" \
    exec scripts/wine-session.sh "$0" "$@"
fi
xvfb=$WHIRLBOX_XVFB_PID
samples="$WINEPREFIX/drive_c/whirlbox/samples"
python3 scripts/make_samples.py "$samples" --prefix 'C:\whirlbox\samples'
ini="$WINEPREFIX/drive_c/windows/whirlbox.ini"
photos="$WINEPREFIX/drive_c/whirlbox/photos"
mkdir -p "$photos"
# Photo-like: quality 92 with 128 levels of grain, about 5 bits a pixel and a camera photo's decoding time.
[ -s "$photos/progressive-q92.jpg" ] || "$writer" --write-jpeg "$photos/progressive-q92.jpg" 4096 4096 progressive 92 128
[ -s "$photos/baseline-q92.jpg" ] || "$writer" --write-jpeg "$photos/baseline-q92.jpg" 6028 3391 baseline 92 128
for face in 1 2 3; do printf 'C:\\whirlbox\\photos\\progressive-q92.jpg\r\nC:\\whirlbox\\photos\\baseline-q92.jpg\r\n'; done \
  > "$photos/whirlbox.ini"

# first_light <command...>: starts the command, prints the seconds until the screen first holds a
# pixel that is not black and the process's peak memory in MB, then ends the process. The pixels
# are read from the X server (header-free ZPixmap rows); the padding byte of 32-bit pixels is
# cleared first. With --no-fatal first, a fatal error's message box fails the run instead of counting
# as light. With no command it prints whether the screen is lit now ("lit" or "black").
first_light() {
  python3 - "$@" <<'PY'
import ctypes, glob, os, signal, subprocess, sys, time

class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]

x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XDisplayWidth.argtypes = x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XGetImage.restype = ctypes.POINTER(XImage)
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                        ctypes.c_ulong, ctypes.c_int]
x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
display = x.XOpenDisplay(None)
if not display:
    sys.exit("first_light: no X display")
root = x.XDefaultRootWindow(display)
width, height = x.XDisplayWidth(display, 0), x.XDisplayHeight(display, 0)

def lit():
    image = x.XGetImage(display, root, 0, 0, width, height, 0xFFFFFFFF, 2)  # ZPixmap
    if not image:
        return False
    i = image.contents
    if i.depth != 24 or i.bits_per_pixel != 32:
        sys.exit("first_light: expected a 24-bit screen of 32-bit pixels, got %d / %d" % (i.depth, i.bits_per_pixel))
    pixels = bytearray(ctypes.string_at(i.data, i.bytes_per_line * i.height))
    x.XDestroyImage(image)
    pad = 0 if i.byte_order == 1 else 3  # the byte outside the 24-bit colour
    pixels[pad::4] = bytes(len(pixels) // 4)
    return pixels.count(0) != len(pixels)

def peak_mb(name):  # the largest VmHWM of this prefix's processes whose command line holds name, but this one
    peak = 0
    prefix = ("WINEPREFIX=" + os.environ["WINEPREFIX"]).encode()
    for path in glob.glob("/proc/[0-9]*/cmdline"):
        if path == "/proc/%d/cmdline" % os.getpid():
            continue
        try:
            if name.encode() not in open(path, "rb").read():
                continue
            if prefix not in open(path.replace("cmdline", "environ"), "rb").read().split(b"\0"):
                continue
            for line in open(path.replace("cmdline", "status")):
                if line.startswith("VmHWM:"):
                    peak = max(peak, int(line.split()[1]) // 1024)
        except OSError:
            pass
    return peak

if len(sys.argv) == 1:
    print("lit" if lit() else "black")
    sys.exit(0)
no_fatal = sys.argv[1] == "--no-fatal"
command = sys.argv[2:] if no_fatal else sys.argv[1:]
start = time.monotonic()
process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
while not lit():
    if process.poll() is not None:
        sys.exit("first_light: %s ended before showing anything (exit code %d)" % (command[-2], process.returncode))
    if time.monotonic() - start > 120:
        sys.exit("first_light: nothing shown within 120 s")
    time.sleep(0.005)
seconds = time.monotonic() - start
if no_fatal and b'"Fatal Error Code' in subprocess.run(["xwininfo", "-root", "-children"], capture_output=True).stdout:
    process.kill()
    sys.exit("first_light: %s showed a fatal error instead of a frame" % command[-2])
program = next(os.path.basename(a) for a in command if a.endswith((".exe", ".scr")))
print("%.3f %d" % (seconds, peak_mb(program)))
process.send_signal(signal.SIGTERM)
process.wait()
deadline = time.monotonic() + 30
while lit():  # the next run starts on a black screen
    if time.monotonic() > deadline:
        sys.exit("first_light: the screen stays lit after the program ended")
    time.sleep(0.05)
PY
}

median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

# The check must be able to fail: the empty screen is black, a message box is not.
[ "$(first_light)" = black ] || { echo "the lit check sees light on the empty black screen"; exit 1; }

# The saver of each label, with its settings file.
savers=("$saver")
[ -n "$other" ] && savers+=("$other")
out=$(mktemp -d)
for ((r = 0; r < runs; r++)); do
  first_light wine "$trivial" 551 >> "$out/trivial"
  sleep 1  # let the display settle, so the saver is not deactivated by the window that just went away
  order=("${!savers[@]}")
  ((r % 2 == 0)) || order=($(printf '%s\n' "${order[@]}" | tac))  # alternate which saver goes first
  for s in "${order[@]}"; do
    for pictures in samples photos; do
      if [ $pictures = samples ]; then cp "$samples/whirlbox.ini" "$ini"; else cp "$photos/whirlbox.ini" "$ini"; fi
      first_light --no-fatal wine "${savers[$s]}" /s >> "$out/saver$s-$pictures"
      sleep 0.5
    done
  done
done
report() {  # <label> <file>
  printf '%-46s first frame median %s s (runs: %s), peak memory median %s MB\n' "$1" \
    "$(cut -d' ' -f1 "$2" | median)" "$(cut -d' ' -f1 "$2" | tr '\n' ' ' | sed 's/ $//')" "$(cut -d' ' -f2 "$2" | median)"
}
echo "start-up, $runs runs, $(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg):"
report "trivial program (message box)" "$out/trivial"
for s in "${!savers[@]}"; do
  report "${savers[$s]#"$root/"}, six 256x256 samples" "$out/saver$s-samples"
  report "${savers[$s]#"$root/"}, six large JPEG photos" "$out/saver$s-photos"
done
rm -rf "$out"
[ "${WHIRLBOX_BENCH_CPU:-1}" = 0 ] && exit 0

cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }
measure_cpu() {  # <label> <size> <speed>
  { head -n 6 "$samples/whirlbox.ini"; printf '%s %s\r\n' "$2" "$3"; } > "$ini"
  wine "$saver" /s &
  local pid=$! linux x0 x1 s0 s1
  sleep 3
  for linux in $(pgrep -f 'whirlbox.scr /s'); do  # this prefix's saver, not another session's
    tr '\0' '\n' < "/proc/$linux/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && break
  done
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
