#!/usr/bin/env bash
# The real whirlbox.scr under Wine, end to end: the full-screen saver draws exactly the frames that
# whirlbox-tool render computes and ends on the right inputs; the preview draws its frames inside a
# host window; the setup dialog rewrites the settings file; the fatal paths show their codes.
#   saver_e2e.sh <whirlbox.scr> <preview_host.exe> <control_rect.exe> <whirlbox-tool> <source folder> [case...]
# Needs DISPLAY (1024 x 768; for the case monitors the two-head display of monitors_case.sh) and WINEPREFIX,
# as scripts/wine-session.sh gives them.
set -u
saver=$1 host=$2 locate=$3 tool=$4 src=$5
shift 5
. "$src/tests/win/wine_helpers.sh"
. "$src/tests/e2e/monitors_case.sh"  # case monitors, run on a two-monitor display only
. "$src/tests/e2e/captures.sh"

work=$(mktemp -d)
ini="$WINEPREFIX/drive_c/windows/whirlbox.ini"
samples="$WINEPREFIX/drive_c/whirlbox/samples"
[ -f "$ini" ] && cp "$ini" "$work/ini.saved"
cleanup() {
  # A saver this script started and a failed case left running: only this script's own jobs (a pattern
  # would also match other savers on the machine, and misses the emulator running the 32-bit one).
  kill $(jobs -p) 2>/dev/null
  if [ -f "$work/ini.saved" ]; then cp "$work/ini.saved" "$ini"; else rm -f "$ini"; fi
  rm -rf "$work"
}
trap cleanup EXIT
python3 "$src/scripts/make_samples.py" "$samples" --prefix 'C:\whirlbox\samples' || exit 1
faces=("$samples"/face1.bmp "$samples"/face2.gif "$samples"/face3.jpg "$samples"/face4.jpg "$samples"/face5.bmp
       "$samples"/face6.gif)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
use_samples() { cp "$samples/whirlbox.ini" "$ini"; }

# The saver's full-screen window: the only top-level window of the screen's size.
wait_for_saver() {  # <pid> <seconds>
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    xwininfo -root -children 2>/dev/null | grep -q ' 1024x768+0+0 ' && return 0
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

still_running() {  # <pid> <what>
  if kill -0 "$1" 2>/dev/null; then return 0; fi
  wait "$1"
  fail "$2: the saver ended (exit $?)"
  return 1
}

ends_with_zero() {  # <pid> <what>
  if ! wait_for_exit "$1" 15; then fail "$2: the saver did not end"; return 1; fi
  if [ "$EXIT_CODE" -ne 0 ]; then fail "$2: exit code $EXIT_CODE, want 0"; return 1; fi
  pass "$2"
}

case_fullscreen_frames() {
  use_samples
  mkdir -p "$work/full"
  "$tool" render --view 1024x768 --half-edge 122 --frames 1-150 --out "$work/full" "${faces[@]}" >/dev/null ||
    { fail "whirlbox-tool render"; return; }
  wine "$saver" /s &
  local pid=$!
  wait_for_saver "$pid" 60 || { fail "full-screen: no window covering the screen"; return; }
  xdotool mousemove 512 300  # inside the grace period: ignored, but the pointer is now over the saver
  sleep 0.3
  local cursor
  cursor=$(python3 "$src/tests/e2e/cursor.py")
  if [ "$cursor" = hidden ]; then pass "the cursor is hidden over the full-screen saver"
  else fail "the cursor over the full-screen saver is $cursor"; fi
  match_captures full-screen "$work/full" 0,0 0.6
  xdotool key space
  ends_with_zero "$pid" "a key press ends the full-screen saver"
}

start_saver() {  # starts a full-screen saver and waits for its window; sets PID
  use_samples
  wine "$saver" /s &
  PID=$!
  wait_for_saver "$PID" 60 || { fail "no saver window"; return 1; }
  sleep 0.5  # the window is mapped; let it settle before it is sent input
}

case_fullscreen_inputs() {
  start_saver || return
  xdotool mousemove 100 100; sleep 0.2; xdotool mousemove 700 600; sleep 0.5
  still_running "$PID" "a large move inside the grace period" && pass "a large move inside the grace period is ignored"
  xdotool click 2; sleep 0.5
  still_running "$PID" "a middle click" && pass "a middle click does not end the saver"
  sleep 2.5  # the grace period is over
  xdotool mousemove 500 400; sleep 0.3; xdotool mousemove 600 400; sleep 0.5
  still_running "$PID" "a move of 100 pixels" && pass "a move of exactly 100 pixels does not end the saver"
  xdotool mousemove 601 400
  ends_with_zero "$PID" "a move of 101 pixels after the grace period ends the saver"

  start_saver || return
  xdotool mousemove 300 300 click 1
  ends_with_zero "$PID" "a left click ends the saver"
  start_saver || return
  xdotool mousemove 300 300 click 3
  ends_with_zero "$PID" "a right click ends the saver"
}

# The host is a frame with a preview pane (see preview_host.cpp for how the pane lets Wine put the
# preview's drawing on the screen). The preview must be a child filling the pane, draw exactly the
# frames of whirlbox-tool render --preview at the pane's size, and end with 0 on a click.
case_preview() {
  use_samples
  mkdir -p "$work/preview"
  "$tool" render --view 152x112 --preview --frames 1-200 --out "$work/preview" "${faces[@]}" >/dev/null ||
    { fail "whirlbox-tool render --preview"; return; }
  wine "$host" "$saver" 90 > "$work/host.out" &
  local pid=$! win X Y WIDTH HEIGHT SCREEN WINDOW i
  win=$(wait_for_window "^WhirlBox preview host\$" "$pid" 60) || { fail "preview: no host window"; return; }
  eval "$(xdotool getwindowgeometry --shell "$win")"
  for ((i = 0; i < 300; i++)); do grep -q '^child' "$work/host.out" && break; sleep 0.1; done
  if grep -q '^child 152x112 at 0,0 visible 1' "$work/host.out"; then
    pass "the preview is a visible child filling the host's 152 x 112 client area"
  else fail "preview child: $(grep '^child' "$work/host.out")"; fi
  sleep 1
  match_captures preview "$work/preview" "$X,$Y" 0.3
  still_running "$pid" "the preview" || return
  xdotool mousemove $((X + 70)) $((Y + 50)) click 1
  if wait_for_exit "$pid" 20 && grep -q '^exit 0' "$work/host.out"; then pass "a click ends the preview with 0"
  else fail "preview after a click: $(cat "$work/host.out")"; fi
}

click_control() {  # <caption> <id>: clicks the middle of a control (or its right end with "right")
  local left top right bottom
  read -r left top right bottom < <(wine "$locate" "$1" "$2" | tr -d '\r') || return 1
  if [ "${3:-}" = right ]; then xdotool mousemove $((right - 6)) $(((top + bottom) / 2)) click 1
  else xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1; fi
}

case_setup() {
  use_samples
  wine "$saver" /c &
  local pid=$! win
  win=$(wait_for_window "^WhirlBox Setup\$" "$pid" 60) || { fail "setup: no dialog"; return; }
  local left top right bottom
  read -r left top right bottom < <(wine "$locate" "WhirlBox Setup" | tr -d '\r')
  local cx=$(((1024 - (right - left)) / 2)) cy=$(((768 - (bottom - top)) / 2))
  if [ "$left" = "$cx" ] && [ "$top" = "$cy" ]; then pass "the setup dialog is centred"
  else fail "setup dialog at $left,$top, want $cx,$cy"; fi
  sleep 0.5
  click_control "WhirlBox Setup" 1288 right; sleep 0.3   # size: right arrow
  click_control "WhirlBox Setup" 1289 right; sleep 0.3   # speed: right arrow, twice
  click_control "WhirlBox Setup" 1289 right; sleep 0.3
  click_control "WhirlBox Setup" 1                       # OK
  ends_with_zero "$pid" "OK ends the setup dialog"
  if [ "$(tail -n 1 "$ini" | tr -d '\r')" = "55 60" ]; then pass "OK saved size 55 and speed 60"
  else fail "settings after OK end with '$(tail -n 1 "$ini")', want '55 60'"; fi

  use_samples
  wine "$saver" /c &
  pid=$!
  wait_for_window "^WhirlBox Setup\$" "$pid" 60 >/dev/null || { fail "setup: no dialog"; return; }
  sleep 0.5
  click_control "WhirlBox Setup" 1288 right; sleep 0.3
  click_control "WhirlBox Setup" 2                       # Cancel
  ends_with_zero "$pid" "Cancel ends the setup dialog"
  if cmp -s "$ini" "$samples/whirlbox.ini"; then pass "Cancel left the settings file as it was"
  else fail "Cancel changed the settings file"; fi
}

fatal_box() {  # <code> <what> <saver arguments...>
  local code=$1 what=$2 win pid
  shift 2
  wine "$saver" "$@" &
  pid=$!
  win=$(wait_for_window "^Fatal Error Code $code\$" "$pid" 60) || { fail "$what: no box 'Fatal Error Code $code'"; kill "$pid" 2>/dev/null; return; }
  click_ok "$win"
  ends_with_zero "$pid" "$what shows Fatal Error Code $code and exits 0"
}

case_fatal() {
  rm -f "$ini"
  fatal_box 551 "no settings file, /s" /s
  fatal_box 551 "no settings file, /c" /c
  # The preview role with a real host window: the host starts the saver, whose box then appears.
  wine "$host" "$saver" 60 > "$work/host.out" &
  local hostpid=$! win
  win=$(wait_for_window "^Fatal Error Code 551\$" "$hostpid" 60) || fail "no settings file, /p <hwnd>: no box"
  [ -n "${win:-}" ] && click_ok "$win"
  if wait_for_exit "$hostpid" 20 && grep -q '^exit 0' "$work/host.out"; then
    pass "no settings file, /p <hwnd> shows Fatal Error Code 551 and exits 0"
  else fail "no settings file, /p <hwnd>: $(cat "$work/host.out")"; fi
  use_samples
  fatal_box 689 "/p alone" /p
  fatal_box 692 "/p 0" /p 0
  sed 's/face3\.jpg/missing.jpg/' "$samples/whirlbox.ini" > "$ini"
  fatal_box 571 "a settings file naming a missing picture" /s
}

# A GIF whose logical screen is 0 x 0 loads, and the first frame cannot stretch it: Abort 202 comes
# from inside the running saver. Its box must outlive the deactivation it causes, the grace period
# and mouse travel over the saver's window, until OK is clicked.
case_fatal_box_stays() {
  python3 - "$samples/zero.gif" <<'GIF' || { fail "writing zero.gif"; return; }
import sys
screen = b"GIF89a" + bytes([0, 0, 0, 0, 0x80, 0, 0]) + bytes([0, 0, 0, 255, 255, 255])  # 0 x 0, two colours
image = bytes([0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0])  # one 1 x 1 frame
data = bytes([2, 2, 0x44, 0x01, 0])  # minimum code size 2: clear, 0, end
open(sys.argv[1], "wb").write(screen + image + data + b"\x3b")
GIF
  printf 'C:\\whirlbox\\samples\\zero.gif\r\n%.0s' 1 2 3 4 5 6 > "$ini"
  wine "$saver" /s &
  local pid=$! win i
  win=$(wait_for_window "^Fatal Error Code 202\$" "$pid" 60) || { fail "zero-size GIF: no box 'Fatal Error Code 202'"; kill "$pid" 2>/dev/null; return; }
  sleep 4
  for i in 1 2 3 4 5 6; do xdotool mousemove $((i * 150)) $((i * 110)); sleep 0.5; done
  sleep 1
  if xdotool getwindowname "$win" >/dev/null 2>&1 && kill -0 "$pid" 2>/dev/null; then
    pass "the box of Abort 202 stays after 4 s and mouse travel over the saver"
  else fail "the box of Abort 202 vanished before it was answered"; kill "$pid" 2>/dev/null; return; fi
  click_ok "$win"
  ends_with_zero "$pid" "OK on the box of Abort 202 ends the saver"
}

cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(fullscreen_frames fullscreen_inputs preview setup fatal fatal_box_stays)
for name in "${cases[@]}"; do
  echo "--- $name"
  "case_$name"
done
[ "$failures" -eq 0 ] || { echo "$failures end-to-end checks failed"; exit 1; }
echo "all end-to-end checks passed"
