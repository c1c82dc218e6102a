#!/usr/bin/env bash
# The real whirlbox.scr with six 6000 x 4000 JPEG pictures (24 megapixels each, about 430 MB once
# loaded): it must show a first frame equal to one that whirlbox-tool render computes, and end with 0
# on a key. The time to the first frame and the process's peak memory are printed and appended to
# <figures file> so the test command can show both builds' figures side by side, with the memory held
# while the saver runs; they are never
# checked against a limit. Needs DISPLAY (1024 x 768) and WINEPREFIX, as scripts/wine-session.sh gives them.
#   large_pictures.sh <whirlbox.scr> <whirlbox-tool> <source folder> <figures file> <build name>
set -u
saver=$1 tool=$2 src=$3 figures=$4 kind=$5
. "$src/tests/win/wine_helpers.sh"

work=$(mktemp -d)
ini="$WINEPREFIX/drive_c/windows/whirlbox.ini"
pictures="$WINEPREFIX/drive_c/whirlbox/large"
[ -f "$ini" ] && cp "$ini" "$work/ini.saved"
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  if [ -f "$work/ini.saved" ]; then cp "$work/ini.saved" "$ini"; else rm -f "$ini"; fi
  rm -rf "$work" "$pictures"
}
trap cleanup EXIT

# One picture made once, under six names: the saver loads and keeps each file on its own.
mkdir -p "$pictures"
convert -size 6000x4000 gradient:navy-orange -quality 90 "$pictures/face1.jpg" || { echo "FAIL: convert"; exit 1; }
faces=("$pictures/face1.jpg")
: > "$ini"
for k in 1 2 3 4 5 6; do
  [ "$k" -gt 1 ] && cp "$pictures/face1.jpg" "$pictures/face$k.jpg" && faces+=("$pictures/face$k.jpg")
  printf 'C:\\whirlbox\\large\\face%s.jpg\r\n' "$k" >> "$ini"
done
printf '50 50\r\n' >> "$ini"
"$tool" render --view 1024x768 --half-edge 122 --frames 1-60 --out "$work/frames" "${faces[@]}" >/dev/null ||
  { echo "FAIL: whirlbox-tool render"; exit 1; }

now() { date +%s.%N; }
saver_window() {  # the id of the saver's full-screen window, once it exists
  xwininfo -root -children 2>/dev/null | awk '/ 1024x768\+0\+0 / { print $1; exit }'
}
lit() {  # true once the window holds a pixel that is not black: the first frame
  xwd -id "$1" -silent 2>/dev/null | python3 -c 'import sys; d = sys.stdin.buffer.read()[3000:]; sys.exit(0 if d.strip(b"\0") else 1)'
}
# start_saver: starts the saver and waits for its first frame; sets pid and start. Fails if the saver
# ends first (its exit code in ended) or after 600 s.
start_saver() {
  start=$(now)
  wine "$saver" /s &
  pid=$!
  local window=""
  until [ -n "$window" ] && lit "$window"; do
    [ -n "$window" ] || window=$(saver_window)
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; ended=$?; pid=""; return 1; fi
    [ "$(awk -v a="$(now)" -v b="$start" 'BEGIN { print (a - b > 600) }')" = 0 ] || { ended=timeout; return 1; }
    sleep 0.05
  done
}
status=0
if ! start_saver; then
  # A window of Wine's own services, still starting in a fresh session, can take the activation from
  # the saver, which then ends with 0 as it should; a second start is not disturbed.
  [ "$ended" = 0 ] && echo "note: the saver was deactivated before its first frame; started again" && start_saver ||
    { echo "FAIL: the saver ended before its first frame (${ended})"; exit 1; }
fi
seconds=$(awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.1f", a - b }')
# A capture torn by the copy to the window is retaken.
for tries in 1 2 3; do
  xwd -root -silent | convert xwd:- "$work/shot.png"
  number=$(python3 "$src/tests/e2e/frames.py" match "$work/shot.png" "$work/frames" 0,0) && break
  number=""
done
if [ -n "$number" ]; then
  echo "ok: with six 6000 x 4000 pictures the first capture equals frame $number"
else
  cp "$work/shot.png" "${E2E_KEEP:-/tmp}/whirlbox-unmatched-large.png"
  echo "FAIL: with six 6000 x 4000 pictures the first capture equals no rendered frame"
  status=1
fi
# Peak resident and peak virtual size of the Linux process that runs the saver (the emulator's, for
# the 32-bit build), read while it still runs.
resident=$(awk '/^VmHWM/ { printf "%d", $2 / 1024 }' "/proc/$pid/status")
virtual=$(awk '/^VmPeak/ { printf "%d", $2 / 1024 }' "/proc/$pid/status")
# What the saver holds while it runs: its resident size a second after the first frame.
sleep 1
held=$(awk '/^VmRSS/ { printf "%d", $2 / 1024 }' "/proc/$pid/status")
xdotool key space
if wait_for_exit "$pid" 60 && [ "$EXIT_CODE" -eq 0 ]; then echo "ok: a key ends the saver with 0"; else
  echo "FAIL: the saver did not end with 0 on a key (${EXIT_CODE:-still running})"
  status=1
fi
pid=""
line="$kind whirlbox.scr, six 6000x4000 JPEGs: first frame after $seconds s, peak resident $resident MB, peak virtual $virtual MB, held while running $held MB"
echo "figures: $line"
echo "$line" >> "$figures"
exit $status
