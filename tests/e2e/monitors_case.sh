# The full-screen saver on two monitors, sourced by saver_e2e.sh for its case "monitors". The display is
# Xvfb's Xinerama with two heads at 0,0: the primary 800 x 600 and a second one of 1024 x 768, which
# reaches past the primary to the right and below. The saver's window must fill the primary and show the
# same frames as ever, a black cover of the second head's rectangle must lie below it, and a key, a click
# on the cover or mouse travel over it must end the saver with 0, taking every window with it.

# The X window ids of the windows at 0,0 of a size (<width>x<height>), shown or not.
windows_at_origin() {
  xwininfo -root -children 2>/dev/null | grep -F " $1+0+0 " | awk '{ print $1 }'
}

shown_at_origin() {  # <width>x<height>: how many of those windows are shown
  local id n=0
  for id in $(windows_at_origin "$1"); do
    xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && n=$((n + 1))
  done
  echo "$n"
}

start_covered_saver() {  # starts the saver, waits for its window and the cover; sets PID
  use_samples
  wine "$saver" /s &
  PID=$!
  local i
  for ((i = 0; i < 300; i++)); do
    [ "$(shown_at_origin 800x600)" = 1 ] && [ "$(shown_at_origin 1024x768)" = 1 ] && { sleep 0.5; return 0; }
    kill -0 "$PID" 2>/dev/null || break
    sleep 0.2
  done
  fail "no saver window of 800 x 600 with a cover of 1024 x 768 (does Wine see both monitors?)"
  kill "$PID" 2>/dev/null
  return 1
}

all_gone() {  # <what>: no window of the saver's or the cover's size is left
  local left
  left=$(windows_at_origin 800x600; windows_at_origin 1024x768)
  if [ -z "$left" ]; then pass "$1: no window is left"; else fail "$1: windows left behind: $left"; fi
}

black_region() {  # <shot> <width>x<height>+<x>+<y>: whether every pixel there is black
  [ "$(convert "$1" -crop "$2" +repage -format '%[max]' info:)" = 0 ]
}

case_monitors() {
  all_gone "before the saver starts"
  mkdir -p "$work/primary"
  "$tool" render --view 800x600 --half-edge 122 --frames 1-150 --out "$work/primary" "${faces[@]}" >/dev/null ||
    { fail "whirlbox-tool render"; return; }

  start_covered_saver || return
  pass "the saver's window fills the 800 x 600 primary and a shown cover has the second monitor's 1024 x 768"
  xdotool mousemove 900 700  # over the cover, inside the grace period
  match_captures two-monitor "$work/primary" 0,0 0.6
  shot "$work/shot.png"
  if black_region "$work/shot.png" 224x768+800+0 && black_region "$work/shot.png" 800x168+0+600; then
    pass "the second monitor beyond the primary is black"
  else fail "the second monitor beyond the primary is not black"; fi
  xdotool click 2; sleep 0.5
  still_running "$PID" "a middle click on the cover" && pass "a middle click on the cover does not end the saver"
  xdotool key space
  ends_with_zero "$PID" "a key press with the pointer over the cover ends the saver"
  all_gone "after a key press"

  start_covered_saver || return
  xdotool mousemove 900 700 click 1
  ends_with_zero "$PID" "a left click on the cover ends the saver"
  all_gone "after a click on the cover"

  start_covered_saver || return
  xdotool mousemove 810 610; sleep 0.2; xdotool mousemove 1020 760; sleep 0.3
  still_running "$PID" "a large move over the cover inside the grace period" &&
    pass "a large move over the cover inside the grace period is ignored"
  sleep 2.5  # the grace period is over
  xdotool mousemove 900 650; sleep 0.3; xdotool mousemove 1000 650; sleep 0.5
  still_running "$PID" "a move of 100 pixels over the cover" &&
    pass "a move of exactly 100 pixels over the cover does not end the saver"
  xdotool mousemove 1001 650
  ends_with_zero "$PID" "a move of 101 pixels over the cover ends the saver"

  start_covered_saver || return
  sleep 2.5
  xdotool mousemove 750 300; sleep 0.3; xdotool mousemove 850 300; sleep 0.5
  still_running "$PID" "a move of 100 pixels from the saver's window onto the cover" &&
    pass "a move of exactly 100 pixels from the saver's window onto the cover does not end the saver"
  xdotool mousemove 851 300
  ends_with_zero "$PID" "a move of 101 pixels from the saver's window onto the cover ends the saver"
  all_gone "after mouse travel"
}
