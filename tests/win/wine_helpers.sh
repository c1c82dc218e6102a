# Shell helpers for tests that drive Wine windows on an X display without a window manager.

# emulated_wine: true when `wine` on PATH is the emulated 32-bit Wine of scripts/wine32-setup.sh.
emulated_wine() { grep -qs qemu-i386-static "$(command -v wine)"; }

# wait_for_window <name regex> <pid> <seconds>: prints the X window id once a window with that name
# exists; fails if the process ends first or time runs out. Polls: a fresh prefix can be slow.
wait_for_window() {
  local name=$1 pid=$2 limit=$3 i win
  for ((i = 0; i < limit * 10; i++)); do
    win=$(xdotool search --name "$name" 2>/dev/null | head -n 1)
    if [ -n "$win" ]; then echo "$win"; return 0; fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# wait_for_keys <window> <seconds>: waits until the window has drawn itself (it shows more than one
# colour) and then blinks its caret (a capture returns to an earlier one after a change) or stays
# unchanged for a second: it then holds the keyboard focus and takes keys. Under the emulated 32-bit
# Wine a dialog can need seconds for that after it appears.
wait_for_keys() {
  local capture seen=" " now previous="" same=0 i status=1
  capture=$(mktemp)
  for ((i = 0; i < $2 * 5; i++)); do
    if ! xwd -id "$1" -silent > "$capture" 2>/dev/null; then  # not viewable yet, or gone
      xdotool getwindowname "$1" >/dev/null 2>&1 || break
      sleep 0.2
      continue
    fi
    now=$(md5sum < "$capture" | cut -c1-32)
    if [ "$(convert "xwd:$capture" -format '%k' info: 2>/dev/null)" -gt 1 ] 2>/dev/null; then
      if [ "$now" = "$previous" ]; then same=$((same + 1)); else same=0; fi
      if [ "$same" -ge 5 ] || { [ "$now" != "$previous" ] && [[ "$seen" == *" $now "* ]]; }; then status=0; break; fi
      seen+="$now "
    fi
    previous=$now
    sleep 0.2
  done
  rm -f "$capture"
  return $status
}

# click_ok <window>: clicks the OK button of a message box (centred, near its bottom edge); keys do
# not reach a message box without a window manager. A busy machine can lose a click before the box
# is ready for it, so the click is repeated while the box is still there (for up to 10 s).
click_ok() {
  local X Y WIDTH HEIGHT SCREEN WINDOW i
  for ((i = 0; i < 10; i++)); do
    eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || return 0
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 22)) click 1
    sleep 1
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
  done
}

# wait_for_exit <pid> <seconds>: waits for the process; sets EXIT_CODE. Fails on time-out.
wait_for_exit() {
  local pid=$1 limit=$2 i
  for ((i = 0; i < limit * 10; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; EXIT_CODE=$?; return 0; fi
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  return 1
}
