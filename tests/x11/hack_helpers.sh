# Shell helpers of the hack's end-to-end tests: their work folder and its cleanup, a private Xvfb,
# screenshots compared with the frames of whirlbox-tool render, the shared-memory segments a process
# made. Sourced; needs $src.

work=$(mktemp -d)
# Ends what the test started (its own jobs only: a pattern would match other tests' programs).
end_jobs() {
  kill $(jobs -p) 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap end_jobs EXIT

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

. "$src/tests/e2e/captures.sh"  # shot, match_captures

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

# An unprivileged user for what refuses root or must not share root's rights: as root, the user
# whirlbox-e2e, made when missing; otherwise the caller. run_as <command...> runs a command as that
# user with a clean environment (HOME, DISPLAY, PATH); TEST_HOME is its home.
test_user() {
  if [ "$(id -u)" -eq 0 ]; then
    TEST_USER=whirlbox-e2e
    id "$TEST_USER" >/dev/null 2>&1 || useradd -m -s /bin/sh "$TEST_USER" || { echo "useradd $TEST_USER failed"; return 1; }
    TEST_HOME=$(getent passwd "$TEST_USER" | cut -d: -f6)
    run_as() {
      setpriv --reuid="$TEST_USER" --regid="$TEST_USER" --init-groups \
        env -i HOME="$TEST_HOME" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin "$@"
    }
  else
    TEST_USER=$(id -un)
    TEST_HOME="$work/home"  # the user's own dot files stay untouched
    mkdir -p "$TEST_HOME"
    run_as() { env -i HOME="$TEST_HOME" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin "$@"; }
  fi
}
