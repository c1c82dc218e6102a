#!/usr/bin/env bash
# whirlbox-setup.exe as a user runs it, in a fresh Wine prefix of its own: silent install with /ACTIVATE,
# the files, the uninstall key and the screen-saver value, the installed saver drawing, an upgrade through
# the pages (it takes the finish page's screenshot), silent uninstalls (one with the saver running), and
# the failures: a file that cannot be written, a full drive.
#   setup_test.sh <whirlbox-setup.exe> <staged kit folder> <control_rect.exe> <version> <build folder>
# Needs DISPLAY (1024 x 768) and a `wine` on PATH for 32-bit programs (the emulated one for the i686 build).
# The fresh prefix is a copy of a pristine one, made once by wineboot in the build folder and never used.
set -u
setup=$1 kit=$2 locate=$3 version=$4 build=$5
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/tests/win/wine_helpers.sh"
began=$(date +%s.%N)
elapsed() { awk -v a="$(date +%s.%N)" -v b="$began" 'BEGIN { printf "%.0f", a - b }'; }

pristine="$build/wineprefix-setup-pristine"
export WINEPREFIX="$build/wineprefix-setup"
export WINEDEBUG=-all
# No shortcut reaches this machine's own menus (winemenubuilder), no debugger stalls the emulator.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
if [ ! -f "$pristine/system.reg" ]; then
  echo "note: preparing the pristine prefix $pristine once"
  rm -rf "$pristine"
  WINEPREFIX="$pristine" wine64 wineboot -i >/dev/null 2>&1
  WINEPREFIX="$pristine" wineserver -w
  [ -f "$pristine/system.reg" ] || { echo "FAIL: wineboot could not prepare $pristine"; exit 1; }
fi
rm -rf "$WINEPREFIX" && cp -a "$pristine" "$WINEPREFIX" || { echo "FAIL: cannot copy the pristine prefix"; exit 1; }
echo "note: a fresh prefix in $(elapsed) s"
work=$(mktemp -d)
cleanup() {
  kill $(jobs -p) 2>/dev/null
  wineserver -k >/dev/null 2>&1
  rm -rf "$work" "$WINEPREFIX"
}
trap cleanup EXIT
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1  # Wine's services start here, detached from the output

failures=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi; }
drive="$WINEPREFIX/drive_c"
system="$drive/windows/syswow64"
folder="$drive/Program Files (x86)/WhirlBox"
samples="$drive/ProgramData/WhirlBox/samples"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/WhirlBox settings.lnk"
ini="$drive/windows/whirlbox.ini"
log="$drive/users/$(id -un)/Temp/whirlbox-setup.log"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\WhirlBox'
desktop='HKCU\Control Panel\Desktop'
installed=("$system/whirlbox.scr" "$folder/whirlbox-tool.exe" "$folder/README.txt" "$folder/LICENSE.txt"
           "$samples/face1.bmp" "$samples/face2.gif" "$samples/face3.jpg" "$samples/face4.jpg"
           "$samples/face5.bmp" "$samples/face6.gif")

# reg_values <key>: one "name|type|data" line per value, nothing if the key is absent.
reg_values() { wine reg query "$1" 2>/dev/null | tr -d '\r' | sed -n 's/^    \(.*\)    \(REG_[A-Z_]*\)    \(.*\)$/\1|\2|\3/p'; }
reg_value() { reg_values "$1" | awk -F'|' -v name="$2" '$1 == name { print $3 }'; }
logged() { grep -c "$1" "$log" 2>/dev/null; }

# uninstall: runs the uninstaller as Apps & features runs it quietly. It copies itself to the temporary
# folder and returns at once; its last step logs "removed from".
uninstall() {
  local before i
  before=$(logged 'removed from')
  wine "$folder/uninstall.exe" /S
  for ((i = 0; i < 600; i++)); do
    [ "$(logged 'removed from')" -gt "$before" ] && return 0
    sleep 0.1
  done
  return 1
}

saver_window() {  # the id of the saver's full-screen window, once it exists
  xwininfo -root -children 2>/dev/null | awk '/ 1024x768\+0\+0 / { print $1; exit }'
}

# The settings page starts the saver as "<SCRNSAVE.EXE> /s": its window covers the screen, turns from
# black to lit (the first frame), and changes while the cube moves.
saver_draws() {  # <SCRNSAVE.EXE value>
  local pid i window="" first="" now
  wine "$1" /s &
  pid=$!
  for ((i = 0; i < 600; i++)); do
    kill -0 "$pid" 2>/dev/null || return 1  # a fatal box is a window too, but not of the screen's size
    [ -n "$window" ] || window=$(saver_window)
    if [ -n "$window" ]; then
      now=$(xwd -id "$window" -silent 2>/dev/null | tail -c +3000 | md5sum)
      if [ -z "$first" ]; then
        [ "$(xwd -id "$window" -silent 2>/dev/null | tail -c +3000 | tr -d '\0' | wc -c)" -gt 0 ] && first=$now
      elif [ "$now" != "$first" ]; then
        xdotool key space
        wait_for_exit "$pid" 30 && [ "$EXIT_CODE" -eq 0 ]
        return
      fi
    fi
    sleep 0.1
  done
  kill "$pid"
  return 1
}

# The version resource's strings are UTF-16, each key followed by its value.
version_of() {  # <exe> <key>
  python3 -c 'import re, sys
text = open(sys.argv[1], "rb").read().decode("utf-16le", "ignore")
found = re.search(sys.argv[2] + "\x00+([^\x00]*)", text)
print(found.group(1) if found else "")' "$1" "$2"
}
check "the setup program's ProductVersion is the project's $version" "[ '$(version_of "$setup" ProductVersion)' = '$version' ]"
check "the setup program's FileVersion is the project's $version" "[ '$(version_of "$setup" FileVersion)' = '$version' ]"
check "the kit holds this setup program" "unzip -p '$build/whirlbox-kit.zip' whirlbox-setup.exe | cmp -s - '$setup'"

# --- a silent install that makes WhirlBox the screen saver
wine "$setup" /S /ACTIVATE
check "/S /ACTIVATE exits 0" "[ $? -eq 0 ]"
check "the saver in syswow64 is the built one" "cmp -s '$kit/whirlbox.scr' '$system/whirlbox.scr'"
for f in whirlbox-tool.exe README.txt LICENSE.txt; do
  check "$f is installed in Program Files (x86)\\WhirlBox" "cmp -s '$kit/$f' '$folder/$f'"
done
check "the uninstaller is in the install folder" "[ -f '$folder/uninstall.exe' ]"
for f in face1.bmp face2.gif face3.jpg face4.jpg face5.bmp face6.gif; do
  check "sample $f is in ProgramData" "cmp -s '$kit/samples/$f' '$samples/$f'"
done
printf 'C:\\ProgramData\\WhirlBox\\samples\\%s\r\n' face1.bmp face2.gif face3.jpg face4.jpg face5.bmp face6.gif \
  > "$work/want.ini"
printf '50 50\r\n' >> "$work/want.ini"
check "the settings file names the six samples" "cmp -s '$work/want.ini' '$ini'"
# A shortcut holds its target as text and its arguments as UTF-16.
check "the Start-menu shortcut runs the saver in SysWOW64" "grep -qaF 'C:\windows\SysWOW64\whirlbox.scr' '$shortcut'"
check "the Start-menu shortcut passes /c" "LC_ALL=C grep -qaP '/\x00c\x00' '$shortcut'"

reg_values "$key" > "$work/key.txt"
folder_win='C:\Program Files (x86)\WhirlBox'
for want in "DisplayName|REG_SZ|WhirlBox" "DisplayVersion|REG_SZ|$version" "Publisher|REG_SZ|The WhirlBox developers" \
            'DisplayIcon|REG_SZ|C:\windows\SysWOW64\whirlbox.scr' "InstallLocation|REG_SZ|$folder_win" \
            "UninstallString|REG_SZ|\"$folder_win\\uninstall.exe\"" \
            "QuietUninstallString|REG_SZ|\"$folder_win\\uninstall.exe\" /S" \
            "NoModify|REG_DWORD|0x1" "NoRepair|REG_DWORD|0x1"; do
  check "the uninstall key holds ${want%%|*} = ${want##*|}" "grep -qxF -- '$want' '$work/key.txt'"
done
size=$(awk -F'|' '$1 == "EstimatedSize" { print $3 }' "$work/key.txt")
[ -n "$size" ] && size=$((size))
bytes=$(cat "${installed[@]}" | wc -c)
check "EstimatedSize (${size:-none} KB) is the installed files' size ($((bytes / 1024)) KB)" \
  "[ -n '$size' ] && [ '$size' -ge $((bytes / 1024)) ] && [ '$size' -le $((bytes / 1024 + 64)) ]"

scrnsave=$(reg_value "$desktop" SCRNSAVE.EXE)
# Wine's short names of these folders are their names; 8.3 each, so no blank and no quote is needed.
check "SCRNSAVE.EXE is the saver's short path in syswow64 ($scrnsave)" \
  "[[ '${scrnsave,,}' == 'c:\\windows\\syswow64\\whirlbox.scr' ]]"
check "ScreenSaveActive is 1" "[ '$(reg_value "$desktop" ScreenSaveActive)' = 1 ]"
check "the installed saver, started as the settings page starts it, draws frames" "saver_draws '$scrnsave'"
echo "note: installed and checked in $(elapsed) s"

# --- an upgrade through the pages keeps the changed settings file; its finish box sets the saver again
sed -i 's/^50 50\r$/80 20\r/' "$ini"
cp "$ini" "$work/changed.ini"
cmp -s "$work/want.ini" "$ini" && echo "FAIL: the settings file could not be changed for the test"
wine reg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null 2>&1
wine "$setup" &
pid=$!
caption=""
window=$(wait_for_window "^WhirlBox $version Setup" "$pid" 60) && caption=$(xdotool getwindowname "$window")
click() {  # <control id or text>
  local left top right bottom
  read -r left top right bottom < <(wine "$locate" "$caption" "$1" | tr -d '\r') || return 1
  xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
}
finish_page() {
  local i
  for ((i = 0; i < 60; i++)); do
    wine "$locate" "$caption" "Use WhirlBox as my screen saver" >/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.5
  done
  return 1
}
if [ -n "$caption" ] && click 1 && finish_page; then
  sleep 1  # the page's controls are drawn
  xwd -id "$window" -silent | convert xwd:- -strip -colors 64 "$build/setup-finish.png"
  echo "note: the finish page is in $build/setup-finish.png"
  click 1
  wait_for_exit "$pid" 60
  check "the setup program through its pages exits 0" "[ '$EXIT_CODE' -eq 0 ]"
else
  check "the setup program shows its finish page" false
  kill "$pid" 2>/dev/null
fi
check "the upgrade keeps the changed settings file" "cmp -s '$work/changed.ini' '$ini'"
check "the upgrade replaces the saver" "cmp -s '$kit/whirlbox.scr' '$system/whirlbox.scr'"
check "the finish page's ticked box makes WhirlBox the screen saver again" \
  "[ '$(reg_value "$desktop" SCRNSAVE.EXE)' = '$scrnsave' ]"

# --- a silent uninstall removes everything but the changed settings file, and clears the saver
check "the quiet uninstall finishes" uninstall
for f in "${installed[@]}" "$folder/uninstall.exe" "$folder" "$samples" "$drive/ProgramData/WhirlBox" "$shortcut"; do
  check "uninstall removes ${f#"$drive/"}" "[ ! -e '$f' ]"
done
check "uninstall removes the uninstall key" "[ -z \"\$(reg_values '$key')\" ]"
check "uninstall keeps the changed settings file" "cmp -s '$work/changed.ini' '$ini'"
check "uninstall clears SCRNSAVE.EXE" "[ -z \"\$(reg_value '$desktop' SCRNSAVE.EXE)\" ]"

# --- from fresh again: /S alone leaves another chosen saver alone; the unchanged settings file goes; the
# saver running is removed at the next restart
rm -f "$ini"
other='C:\windows\system32\other.scr'
wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
wine "$setup" /S
check "/S exits 0" "[ $? -eq 0 ]"
check "/S leaves the chosen screen saver alone" "[ '$(reg_value "$desktop" SCRNSAVE.EXE)' = '$other' ]"
wine "$system/whirlbox.scr" /s &
saver=$!
for ((i = 0; i < 600; i++)); do [ -n "$(saver_window)" ] && break; sleep 0.1; done  # loaded and running
check "the second quiet uninstall finishes" uninstall
check "uninstall removes the settings file setup wrote" "[ ! -e '$ini' ]"
check "uninstall keeps another saver chosen" "[ '$(reg_value "$desktop" SCRNSAVE.EXE)' = '$other' ]"
check "uninstall says the running saver goes at the next restart" "grep -q 'whirlbox.scr is in use: it will be removed when Windows restarts' '$log'"
pending=$(reg_value 'HKLM\System\CurrentControlSet\Control\Session Manager' PendingFileRenameOperations)
check "the restart removes the saver from SysWOW64" "[[ '$pending' == *'\??\C:\windows\SysWOW64\whirlbox.scr'* ]]"
xdotool key space
wait_for_exit "$saver" 30
rm -f "$system/whirlbox.scr"  # as the restart would

# --- a file that cannot be written (a folder in the saver's place), then a full drive: each fails with its
# code and reason, and installs nothing
mkdir -p "$system/whirlbox.scr"
wine "$setup" /S
code=$?
check "setup fails with 29 when the saver cannot be written (got $code)" "[ $code -eq 29 ]"
check "the log says why" "grep -q 'failed: Could not write C:.windows.SysWOW64.whirlbox.scr' '$log'"
check "a failed setup registers no uninstaller" "[ -z \"\$(reg_values '$key')\" ]"
rmdir "$system/whirlbox.scr"
# A drive with no free space: Q: is /proc, whose file system reports none.
ln -s /proc "$WINEPREFIX/dosdevices/q:"
wine "$setup" /S '/D=Q:\WhirlBox'
code=$?
check "setup fails with 112 on a full drive (got $code)" "[ $code -eq 112 ]"
check "the log says why the drive was refused" "grep -q 'failed: Not enough space on Q:.WhirlBox: [0-9]* KB needed, 0 KB free' '$log'"
check "a setup refused for space writes nothing" "[ ! -e '$system/whirlbox.scr' ] && [ -z \"\$(reg_values '$key')\" ]"
# A run without administrator rights cannot be made here: Wine gives every process an administrator's
# token, and ignores __COMPAT_LAYER=RunAsInvoker.

echo "setup test: $(elapsed) s in all"
[ "$failures" -eq 0 ] || { echo "$failures setup checks failed"; cat "$log"; exit 1; }
echo "the setup program works"
