# Shell helpers of the hack's end-to-end tests: a private Xvfb, screenshots compared with the frames
# of whirlbox-tool render, the shared-memory segments a process made. Sourced; needs $work and $src.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Starts Xvfb with the given arguments on a display it picks itself (-displayfd: two tests starting
# together never share one) and exports DISPLAY; XVFB_PID is the server. Pass -noreset: a server
# that resets when its last client leaves refuses the next one for a moment.
start_xvfb() {  # <xvfb args...>
  local fd="$work/displayfd.$RANDOM" i
  : >"$fd"
  Xvfb -displayfd 3 "$@" 3>"$fd" >/dev/null 2>&1 &
  XVFB_PID=$!
  for ((i = 0; i < 100; i++)); do
    if [ -s "$fd" ]; then
      export DISPLAY=":$(head -n 1 "$fd")"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xvfb did not start"
  return 1
}

stop_xvfb() {
  kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null
}

shot() { xwd -root -silent | convert xwd:- "$1"; }

# Three screenshots, each equal in the region at <x,y> to one of the frames in <frame folder>; a
# capture torn by a copy to the window is retaken.
match_captures() {  # <what> <frame folder> <x,y>
  local moment tries number
  for moment in 1 2 3; do
    sleep "0.$((RANDOM % 10))"
    number=""
    for tries in 1 2 3; do
      shot "$work/shot.png"
      number=$(python3 "$src/tests/e2e/frames.py" match "$work/shot.png" "$2" "$3") && break
      number=""
    done
    if [ -n "$number" ]; then pass "$1: capture $moment equals frame $number"; else
      cp "$work/shot.png" "${E2E_KEEP:-/tmp}/whirlbox-hack-unmatched-$1-$moment.png"
      fail "$1: capture $moment at $3 equals no rendered frame"
    fi
  done
}

# Shared-memory segments whose creator is <pid>.
segments_of() {  # <pid>
  ipcs -m -p | awk -v pid="$1" '$3 == pid { print $1 }'
}

# Waits until the hack has put its first frame on the screen: a non-black pixel in the region.
wait_for_pixels() {  # <pid> <W>x<H>+<X>+<Y>
  local i mean
  for ((i = 0; i < 100; i++)); do
    kill -0 "$1" 2>/dev/null || return 1
    mean=$(xwd -root -silent | convert xwd:- -crop "$2" +repage -format '%[fx:mean]' info: 2>/dev/null)
    [ -n "$mean" ] && [ "$mean" != 0 ] && return 0
    sleep 0.1
  done
  return 1
}
