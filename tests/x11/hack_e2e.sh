#!/usr/bin/env bash
# The whirlbox hack on private Xvfb displays: its frames equal whirlbox-tool render's on the root,
# in a window given by -window-id and by XSCREENSAVER_WINDOW (hex and decimal) and in a preview-sized
# one; a resize starts it again at the new size; an Expose is repainted at once; a fatal error is
# drawn and the hack stays; SIGTERM, SIGINT and SIGHUP end it within 100 ms, and no shared segment
# outlives it, also after SIGKILL; without MIT-SHM it still draws.
#   hack_e2e.sh <whirlbox> <whirlbox-tool> <host_window> <source folder>
set -u
hack=$1 tool=$2 host=$3 src=$4
. "$src/tests/x11/hack_helpers.sh"
python3 "$src/scripts/make_samples.py" "$work/samples" >/dev/null || exit 1
ini="$work/samples/whirlbox.ini"  # six faces, size 50, speed 50: a frame about every 260 ms
# Who reads it: the hack and the tool, both with the real settings reader.
render() {  # <W>x<H> <folder> [--preview]
  "$tool" render --view "$1" --frames 1-80 --out "$work/$2" --settings "$ini" ${3:-} >/dev/null ||
    fail "render $1 $2"
}

start_xvfb -noreset -screen 0 1024x768x24 -nolisten tcp || exit 1
render 1024x768 root
render 640x480 window
render 200x150 preview --preview
render 800x600 resized

# The root window.
"$hack" -root --settings "$ini" &
pid=$!
wait_for_pixels $pid 1024x768+0+0 || fail "root: nothing drawn"
match_captures root "$work/root" 0,0
kill -TERM $pid; wait $pid

# A face named on the command line replaces the settings file's, pictures and all.
s=$work/samples
half=$("$tool" settings "$ini" | sed -n 's/.*half-edge \([0-9]*\).*/\1/p')
"$tool" render --view 1024x768 --frames 1-80 --out "$work/override" --half-edge "$half" \
  "$s/face6.gif" "$s/face2.gif" "$s/face3.jpg" "$s/face4.jpg" "$s/face5.bmp" "$s/face6.gif" >/dev/null ||
  fail "render override"
"$hack" -root --settings "$ini" --face1 "$s/face6.gif" &
pid=$!
wait_for_pixels $pid 1024x768+0+0 || fail "override: nothing drawn"
match_captures override "$work/override" 0,0
kill -TERM $pid; wait $pid

# Its own window, "WhirlBox": the same frames; a key, a click or the window manager's close ends it
# with 0. Without a window
# manager it lies at 0,0 in its first size, 1024 x 768, and the key goes to the window under the pointer.
for input in "key space" "click 1" close; do
  "$hack" -window --settings "$ini" &
  pid=$!
  wait_for_pixels $pid 1024x768+0+0 || fail "own window: nothing drawn"
  if [ "$input" = "key space" ]; then
    match_captures own-window "$work/root" 0,0
    xdotool search --name '^WhirlBox$' >/dev/null && pass "own window: titled WhirlBox" || fail "own window: no window titled WhirlBox"
  fi
  if [ "$input" = close ]; then
    python3 "$src/tests/x11/wm_close.py" "$(xdotool search --name '^WhirlBox$' | head -n 1)"
  else
    xdotool mousemove 500 400 $input
  fi
  for ((i = 0; i < 30; i++)); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then fail "own window: $input did not end it"; kill -TERM $pid; wait $pid; else
    wait $pid
    code=$?
    [ $code -eq 0 ] && pass "own window: $input ends it with 0" || fail "own window: $input gave exit code $code"
  fi
done

# Windows made by another client, given by id in each notation.
host_pid=""
new_host() {  # <geometry> [white]: a new host window; its id in host_id
  local i
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
  local file="$work/host.$RANDOM.id"  # a new file: an old one would still name the last host
  "$host" "$@" >"$file" &
  host_pid=$!
  for ((i = 0; i < 50; i++)); do
    host_id=$(head -n 1 "$file" 2>/dev/null)
    [ -n "$host_id" ] && return 0
    sleep 0.1
  done
  fail "host_window $1 made no window"
}
new_host 640x480+100+50
for mode in option env-hex env-decimal; do
  [ "$mode" = option ] || new_host 640x480+100+50  # the resize case left the first one larger
  case $mode in
    option) "$hack" -window-id "$host_id" --settings "$ini" & ;;
    env-hex) XSCREENSAVER_WINDOW=$host_id "$hack" -root --settings "$ini" & ;;
    env-decimal) XSCREENSAVER_WINDOW=$((host_id)) "$hack" --settings "$ini" & ;;
  esac
  pid=$!
  wait_for_pixels $pid 640x480+100+50 || fail "$mode: nothing drawn"
  match_captures "$mode" "$work/window" 100,50
  if [ "$mode" = option ]; then
    # Covered by a white window, then uncovered: the hack repaints the whole exposed part from its
    # image, where the frames alone would never reach the parts the cube does not cover. A loaded
    # machine may take a moment; a hack that ignores the Expose stays white there for good.
    "$host" 500x400+150+80 white >/dev/null &
    cover=$!
    sleep 0.5
    kill $cover; wait $cover 2>/dev/null
    exposed=no
    for _ in 1 2 3 4 5 6 7 8 9 10; do
      sleep 0.1
      shot "$work/shot.png"
      if python3 "$src/tests/e2e/frames.py" match "$work/shot.png" "$work/window" 100,50 >/dev/null; then
        exposed=yes
        break
      fi
    done
    if [ "$exposed" = yes ]; then
      pass "expose: the uncovered window shows a whole frame"
    else
      fail "expose: white left in the uncovered window"
    fi
    # A resize starts the animation again for the new size.
    xdotool windowsize "$host_id" 800 600
    sleep 0.3
    match_captures resize "$work/resized" 100,50
  fi
  kill -TERM $pid; wait $pid
done

# The preview of a settings GUI: a window smaller than 320 x 240 takes the preview's cube.
new_host 200x150+10+10
"$hack" -window-id "$host_id" --settings "$ini" &
pid=$!
wait_for_pixels $pid 200x150+10+10 || fail "preview: nothing drawn"
match_captures preview "$work/preview" 10,10
# Its owner closes the window: the hack ends, with 0, rather than failing on the lost window.
kill "$host_pid"
for ((i = 0; i < 30; i++)); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then fail "window destroyed: the hack still runs"; kill -TERM $pid; wait $pid; else
  wait $pid
  code=$?
  [ $code -eq 0 ] && pass "window destroyed: the hack ended with 0" || fail "window destroyed: exit code $code"
fi
host_pid=""

# A fatal error: written to standard error, drawn in the window, and the hack keeps running.
new_host 640x480+100+50
"$hack" -window-id "$host_id" --settings "$work/missing.ini" 2>"$work/fatal.txt" &
pid=$!
wait_for_pixels $pid 640x480+100+50 || fail "fatal: no message drawn"
sleep 1
if kill -0 $pid 2>/dev/null; then pass "fatal: still running"; else fail "fatal: the hack ended"; fi
grep -q "Fatal Error Code 551" "$work/fatal.txt" && pass "fatal: code on stderr" ||
  fail "fatal: stderr has $(cat "$work/fatal.txt")"
kill -TERM $pid; wait $pid
[ $? -eq 0 ] && pass "fatal: SIGTERM ends it with 0" || fail "fatal: exit code not 0 after SIGTERM"
kill "$host_pid"

# The end signals: within 100 ms, exit code 0, no segment left; SIGKILL leaves none either.
for signal in TERM INT HUP KILL; do
  "$hack" -root --settings "$ini" &
  pid=$!
  wait_for_pixels $pid 1024x768+0+0 || fail "$signal: nothing drawn"
  [ -n "$(segments_of $pid)" ] || echo "note: $signal: the hack uses no shared segment"
  start=$(date +%s%N)
  kill -$signal $pid
  { wait $pid; } 2>/dev/null  # no "Killed" line from the shell
  code=$? ms=$((($(date +%s%N) - start) / 1000000))
  if [ $signal != KILL ]; then
    [ $code -eq 0 ] && [ $ms -le 100 ] && pass "SIG$signal: ended in $ms ms with 0" ||
      fail "SIG$signal: ended in $ms ms with exit code $code"
  fi
  for ((i = 0; i < 20; i++)); do [ -z "$(segments_of $pid)" ] && break; sleep 0.1; done
  [ -z "$(segments_of $pid)" ] && pass "SIG$signal: no segment left" || fail "SIG$signal: segment $(segments_of $pid) left"
done
stop_xvfb

# An X server without MIT-SHM: the plain image is sent with each copy, and the frames are the same.
start_xvfb -noreset -screen 0 1024x768x24 -nolisten tcp -extension MIT-SHM || exit 1
"$hack" -root --settings "$ini" &
pid=$!
wait_for_pixels $pid 1024x768+0+0 || fail "no MIT-SHM: nothing drawn"
match_captures no-mit-shm "$work/root" 0,0
[ -z "$(segments_of $pid)" ] && pass "no MIT-SHM: no segment made" || fail "no MIT-SHM: a segment was made"
kill -TERM $pid; wait $pid
stop_xvfb

# A segment the X server cannot see: the hack in an IPC namespace of its own, as an unprivileged user
# (a sandboxed program's case). The server refuses the attach (BadAccess), and the plain image draws.
if unshare --help 2>/dev/null | grep -q -- --ipc; then
  start_xvfb -noreset -ac -screen 0 1024x768x24 -nolisten tcp || exit 1
  test_user || exit 1
  chmod 755 "$work" && chmod -R a+rX "$work"
  cp "$hack" "$work/whirlbox-ns"
  if [ "$(id -u)" -eq 0 ]; then
    unshare --ipc setpriv --reuid="$TEST_USER" --regid="$TEST_USER" --init-groups \
      env -i DISPLAY="$DISPLAY" "$work/whirlbox-ns" -root --settings "$ini" 2>"$work/ns.txt" &
  else
    unshare --user --map-root-user --ipc env -i DISPLAY="$DISPLAY" "$work/whirlbox-ns" -root --settings "$ini" \
      2>"$work/ns.txt" &
  fi
  pid=$!
  wait_for_pixels $pid 1024x768+0+0 || fail "IPC namespace: nothing drawn ($(cat "$work/ns.txt"))"
  match_captures ipc-namespace "$work/root" 0,0
  kill -TERM $pid  # unshare, setpriv and env each run the next in their own place: $pid is the hack
  wait $pid
  [ $? -eq 0 ] && pass "IPC namespace: SIGTERM ends it with 0" || fail "IPC namespace: exit code not 0"
  stop_xvfb
else
  echo "note: no unshare --ipc here; the refused segment is not tried"
fi

# A 16-bit screen: each channel is placed in its 5 or 6 bits one by one; those bits equal the frames'.
start_xvfb -noreset -screen 0 1024x768x16 -nolisten tcp || exit 1
"$hack" -root --settings "$ini" &
pid=$!
wait_for_pixels $pid 1024x768+0+0 || fail "16-bit screen: nothing drawn"
FRAME_BITS=5,6,5 match_captures 16-bit "$work/root" 0,0
kill -TERM $pid; wait $pid
stop_xvfb

echo "$failures failure(s)"
[ $failures -eq 0 ]
