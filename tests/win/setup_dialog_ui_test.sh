#!/usr/bin/env bash
# Works the real setup dialog under Wine: an unknown WM_HSCROLL shows "Fatal Error Code 462" and
# the process ends with 0; so does a save that fails (336); Browse opens the file dialog "Select Image File", a typed path is
# accepted and shown, and OK saves it; a cancelled file dialog changes nothing. Needs DISPLAY and
# WINEPREFIX (scripts/wine-session.sh).
set -u
probe=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_helpers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
old=$'C:\\old\\face1.bmp\nC:\\old\\face2.bmp\nC:\\old\\face3.bmp\nC:\\old\\face4.bmp\nC:\\old\\face5.bmp\nC:\\old\\face6.bmp\n40 60\n'

# expect_fatal_box <code> <mode> <ini>: runs the probe in mode; the box for code must appear, and
# after a click on its OK button the process must end with 0.
expect_fatal_box() {
  local code=$1 pid win
  wine "$probe" "$2" "$(winepath -w "$3")" &
  pid=$!
  win=$(wait_for_window "^Fatal Error Code $code\$" "$pid" 60) || { echo "FAIL: no box for code $code"; kill "$pid" 2>/dev/null; return 1; }
  click_ok "$win"
  wait_for_exit "$pid" 30 || { echo "FAIL: no exit after OK on the $code box"; return 1; }
  [ "$EXIT_CODE" -eq 0 ] || { echo "FAIL: exit code $EXIT_CODE after $code, want 0"; return 1; }
}

unknown_scroll_aborts() {
  local ini="$work/abort.ini"
  printf '%s' "$old" >"$ini"
  expect_fatal_box 462 scroll "$ini" || return 1
  [ "$(cat "$ini")" = "$(printf '%s' "$old")" ] || { echo "FAIL: the file changed"; return 1; }
  echo "ok: an unknown WM_HSCROLL ends with 462 and exit code 0"
}

# OK after a change, where the file cannot be replaced (a folder stands at its path): the box for
# 336, exit code 0, the folder untouched and no new file left beside it.
failed_save_reports_336() {
  local ini="$work/folder.ini"
  mkdir -p "$ini/inside"
  expect_fatal_box 336 save "$ini" || return 1
  [ -d "$ini/inside" ] && [ ! -e "$ini.new" ] || { echo "FAIL: the folder changed or $ini.new was left"; return 1; }
  echo "ok: a save that cannot replace the file ends with 336 and leaves no new file"
}

# start_probe <ini>: runs the dialog; sets PID and the positions BROWSE_X/Y, OK_X/Y.
start_probe() {
  OUT="$work/out.txt"
  : >"$OUT"
  wine "$probe" run "$(winepath -w "$1")" >"$OUT" &
  PID=$!
  local i
  for ((i = 0; i < 600; i++)); do
    grep -q '^ready' "$OUT" && break
    kill -0 "$PID" 2>/dev/null || return 1
    sleep 0.1
  done
  wait_for_window '^WhirlBox Setup$' "$PID" 60 >/dev/null || return 1
  read -r _ BROWSE_X BROWSE_Y < <(grep '^browse' "$OUT" | tr -d '\r')
  read -r _ OK_X OK_Y < <(grep '^ok' "$OUT" | tr -d '\r')
  read -r _ FACE3_X FACE3_Y < <(grep '^face3' "$OUT" | tr -d '\r')
  read -r _ FACE5_X FACE5_Y < <(grep '^face5' "$OUT" | tr -d '\r')
}

# open_file_dialog: clicks Browse and waits until the file dialog takes keys; sets FILE_WIN.
open_file_dialog() {
  xdotool mousemove "$BROWSE_X" "$BROWSE_Y" click 1
  FILE_WIN=$(wait_for_window '^Select Image File$' "$PID" 60) && wait_for_keys "$FILE_WIN" 60
}

# finish_with_ok: clicks OK; the probe must end with 0. Its output loses the runtime's CRs.
finish_with_ok() {
  xdotool mousemove "$OK_X" "$OK_Y" click 1
  wait_for_exit "$PID" 30 && [ "$EXIT_CODE" -eq 0 ] || return 1
  tr -d '\r' <"$OUT" >"$OUT.lf" && mv "$OUT.lf" "$OUT"
}

# wait_gone <window>: waits until the window no longer exists.
wait_gone() {
  local i
  for ((i = 0; i < 300; i++)); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Face 3 is selected first: the chosen name must land on line 3. Then face 5 and Browse again: the
# file dialog starts with the path chosen before, and Enter takes it for face 5 as well.
browse_then_ok_saves_the_typed_path() {
  local ini="$work/browse.ini"
  printf '%s' "$old" >"$ini"
  mkdir -p "$work/pictures"
  local typed
  typed="$(winepath -w "$work/pictures")\\new.gif"
  start_probe "$ini" || { echo "FAIL: the setup dialog did not start"; return 1; }
  xdotool mousemove "$FACE3_X" "$FACE3_Y" click 1
  open_file_dialog || { echo "FAIL: Browse opened no window named Select Image File"; kill "$PID"; return 1; }
  xdotool type --delay 20 "$typed"
  xdotool key Return
  wait_gone "$FILE_WIN" || { echo "FAIL: the file dialog did not accept the typed path"; kill "$PID"; return 1; }
  xdotool mousemove "$FACE5_X" "$FACE5_Y" click 1
  open_file_dialog || { echo "FAIL: the second Browse opened no file dialog"; kill "$PID"; return 1; }
  xdotool key Return
  wait_gone "$FILE_WIN" || { echo "FAIL: the second file dialog did not take its starting path"; kill "$PID"; return 1; }
  finish_with_ok || { echo "FAIL: no exit with 0 after OK"; return 1; }
  local want_name="name $typed"
  grep -qxF "$want_name" "$OUT" || { echo "FAIL: edit box: $(grep '^name' "$OUT"), want $want_name"; return 1; }
  local want_file written
  want_file=$(printf 'C:\\old\\face1.bmp\r\nC:\\old\\face2.bmp\r\n%s\r\nC:\\old\\face4.bmp\r\n%s\r\nC:\\old\\face6.bmp\r\n40 60\r\n' "$typed" "$typed" | od -c)
  written=$(od -c "$ini")
  [ "$written" = "$want_file" ] || { echo "FAIL: the file holds"; cat -A "$ini"; echo "want lines 3 and 5: $typed"; return 1; }
  echo "ok: Browse accepted a typed path, showed it, kept it for the next Browse, and OK saved it"
}

cancelled_browse_changes_nothing() {
  local ini="$work/cancel.ini"
  printf '%s' "$old" >"$ini"
  touch -d '2001-01-01 12:00' "$ini"
  local before
  before=$(stat -c %Y "$ini")
  start_probe "$ini" || { echo "FAIL: the setup dialog did not start"; return 1; }
  open_file_dialog || { echo "FAIL: Browse opened no window named Select Image File"; kill "$PID"; return 1; }
  xdotool key Escape
  wait_gone "$FILE_WIN" || { echo "FAIL: the file dialog did not close on Escape"; kill "$PID"; return 1; }
  finish_with_ok || { echo "FAIL: no exit with 0 after OK"; return 1; }
  grep -qxF 'name C:\old\face1.bmp' "$OUT" || { echo "FAIL: edit box: $(grep '^name' "$OUT")"; return 1; }
  grep -qxF 'changed 0' "$OUT" || { echo "FAIL: a cancelled Browse counted as a change"; return 1; }
  [ "$(stat -c %Y "$ini")" = "$before" ] && [ "$(cat "$ini")" = "$(printf '%s' "$old")" ] ||
    { echo "FAIL: the file was rewritten"; return 1; }
  echo "ok: a cancelled file dialog changes nothing"
}

status=0
unknown_scroll_aborts || status=1
failed_save_reports_336 || status=1
# Under the emulated 32-bit Wine, Wine's own file dialog sometimes never shows (it stayed unmapped for
# a minute in 2 of 7 tries, with no fault of the saver's): the Browse cases run on the x86-64 build only.
if emulated_wine; then
  echo "skipped under the emulated 32-bit Wine: the Browse cases (its file dialog does not always show)"
  exit $status
fi
browse_then_ok_saves_the_typed_path || status=1
cancelled_browse_changes_nothing || status=1
exit $status
