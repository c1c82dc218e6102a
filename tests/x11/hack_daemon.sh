#!/usr/bin/env bash
# The whirlbox hack under the real XScreenSaver daemon: -activate shows frames equal to whirlbox-tool
# render's, -deactivate leaves no whirlbox process and no shared segment. The daemon refuses to run
# as root, so as root the test runs it as an unprivileged user that it creates (whirlbox-e2e), on a
# display of its own that user may connect to (-ac), with a ~/.xscreensaver naming only the hack.
#   hack_daemon.sh <whirlbox> <whirlbox-tool> <source folder>
set -u
hack=$1 tool=$2 src=$3
. "$src/tests/x11/hack_helpers.sh"
daemon=""
trap '[ -n "$daemon" ] && run_as xscreensaver-command -exit >/dev/null 2>&1; end_jobs' EXIT
for program in xscreensaver xscreensaver-command; do
  command -v $program >/dev/null || { echo "FAIL: $program is not installed (scripts/install-deps.sh)"; exit 1; }
done

# Everything the daemon's user runs or reads lives in the test's folder, open to that user.
chmod 755 "$work"
cp "$hack" "$work/whirlbox"
python3 "$src/scripts/make_samples.py" "$work/samples" >/dev/null || exit 1
chmod -R a+rX "$work"
"$tool" render --view 1024x768 --frames 1-80 --out "$work/frames" --settings "$work/samples/whirlbox.ini" >/dev/null ||
  { echo "FAIL: render"; exit 1; }

start_xvfb -noreset -ac -nolisten tcp -screen 0 1024x768x24 || exit 1
test_user || exit 1
home=$TEST_HOME
cat >"$home/.xscreensaver" <<PREFS
mode: one
selected: 0
lock: False
fade: False
unfade: False
splash: False
dpmsEnabled: False
grabDesktopImages: False
programs: "WhirlBox" $work/whirlbox -root --settings $work/samples/whirlbox.ini \\n
PREFS
chown "$TEST_USER" "$home/.xscreensaver"

run_as xscreensaver -no-splash >"$work/daemon.log" 2>&1 &
daemon=$!
for ((i = 0; i < 100; i++)); do
  run_as xscreensaver-command -version >/dev/null 2>&1 && break
  sleep 0.1
done
run_as xscreensaver-command -activate >/dev/null 2>&1 || fail "xscreensaver-command -activate"
pid=""
for ((i = 0; i < 100; i++)); do
  pid=$(pgrep -f "^$work/whirlbox " | head -n 1)
  [ -n "$pid" ] && break
  sleep 0.1
done
if [ -z "$pid" ]; then
  fail "the daemon started no whirlbox"; cat "$work/daemon.log"
else
  wait_for_pixels "$pid" 1024x768+0+0 || fail "daemon: nothing drawn"
  match_captures daemon "$work/frames" 0,0
  [ -n "$(segments_of "$pid")" ] || echo "note: the hack uses no shared segment here"
  run_as xscreensaver-command -deactivate >/dev/null 2>&1 || fail "xscreensaver-command -deactivate"
  for ((i = 0; i < 50; i++)); do
    [ -z "$(pgrep -f "^$work/whirlbox ")" ] && [ -z "$(segments_of "$pid")" ] && break
    sleep 0.1
  done
  [ -z "$(pgrep -f "^$work/whirlbox ")" ] && pass "deactivate: no whirlbox left" || fail "deactivate: whirlbox still runs"
  [ -z "$(segments_of "$pid")" ] && pass "deactivate: no segment left" || fail "deactivate: segment left"
fi
run_as xscreensaver-command -exit >/dev/null 2>&1
wait "$daemon" 2>/dev/null
daemon=""
stop_xvfb
echo "$failures failure(s)"
[ $failures -eq 0 ]
