#!/usr/bin/env bash
# Runs abort_probe under Wine: the box "Fatal Error Code <code>" must appear, a click on its OK button
# must close it, and the process must then end with exit code 0. Needs DISPLAY and WINEPREFIX.
set -u
probe=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_helpers.sh"

check_box() {  # $1 = code, $2.. = extra probe arguments
  local code=$1; shift
  wine "$probe" "$code" "$@" &
  local pid=$!
  local win
  win=$(wait_for_window "^Fatal Error Code $code\$" "$pid" 60) || { echo "FAIL: no box for code $code"; kill "$pid" 2>/dev/null; return 1; }
  click_ok "$win"
  wait_for_exit "$pid" 30 || { echo "FAIL: probe for code $code did not end after OK"; return 1; }
  [ "$EXIT_CODE" -eq 0 ] || { echo "FAIL: exit code $EXIT_CODE for code $code, want 0"; return 1; }
  echo "ok: code $code ($*) shows its box and exits 0"
}

# A message of 1024 characters: not a code box but FatalAppExitA's own (captioned "Error" by Wine),
# and the process ends once that is answered.
check_overflow() {
  wine "$probe" overflow &
  local pid=$! win
  win=$(wait_for_window "^Error\$" "$pid" 60) || { echo "FAIL: no FatalAppExitA box for an overflowing message"; kill "$pid" 2>/dev/null; return 1; }
  click_ok "$win"
  wait_for_exit "$pid" 30 || { echo "FAIL: the overflow probe did not end after OK"; return 1; }
  echo "ok: an overflowing message goes to FatalAppExitA, which ends the process"
}

status=0
check_box 551 || status=1
check_box -17 || status=1
check_box 602 window || status=1
check_overflow || status=1
exit $status
