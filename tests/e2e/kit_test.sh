#!/usr/bin/env bash
# The install kit under Wine's cmd: install.cmd puts whirlbox.scr into the system folder and writes a
# settings file naming the samples only when there is none; uninstall.cmd removes what install put
# there and keeps a settings file it did not write. Needs WINEPREFIX.
#   kit_test.sh <whirlbox-kit.zip>      (each Windows build tests its own kit)
set -u
zip=$1
[ -f "$zip" ] || { echo "FAIL: no kit at $zip"; exit 1; }
windows="$WINEPREFIX/drive_c/windows"
ini="$windows/whirlbox.ini"
kit="$WINEPREFIX/drive_c/whirlbox-kit"
work=$(mktemp -d)
[ -f "$ini" ] && cp "$ini" "$work/ini.saved"
cleanup() {
  if [ -f "$work/ini.saved" ]; then cp "$work/ini.saved" "$ini"; else rm -f "$ini"; fi
  rm -rf "$kit" "$work"
}
trap cleanup EXIT
rm -rf "$kit" && mkdir -p "$kit"
(cd "$kit" && cmake -E tar xf "$zip") || { echo "FAIL: cannot unpack $zip"; exit 1; }
export WHIRLBOX_NO_SETTINGS=1  # the screen-saver settings page is not opened by the test

failures=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi; }
system=$(ls -d "$windows"/[Ss]ys[Ww][Oo][Ww]64 2>/dev/null || echo "$windows/system32")
samples="$WINEPREFIX/drive_c/ProgramData/WhirlBox/samples"

for f in whirlbox.scr whirlbox-tool.exe install.cmd uninstall.cmd README.txt LICENSE.txt samples/face1.bmp samples/face2.gif samples/face3.jpg \
         samples/face4.jpg samples/face5.bmp samples/face6.gif; do
  check "the kit holds $f" "[ -f '$kit/$f' ]"
done

# The kit's tool answers for a sample as the platform writes text: one line ending in CR LF.
answer=$(wine "$kit/whirlbox-tool.exe" picture 'C:\whirlbox-kit\samples\face3.jpg' 2>/dev/null | od -An -c -w256 | tr -s ' ')
check "the kit's whirlbox-tool.exe loads a sample JPEG" "[[ '$answer' == *' 2 4 - b i t 0 c o l o u r s \r \n' ]]"

rm -f "$ini"
wine cmd /c 'C:\whirlbox-kit\install.cmd' > "$work/install.out" 2>&1
check "install.cmd succeeds" "[ $? -eq 0 ]"
check "whirlbox.scr is in $(basename "$system")" "cmp -s '$kit/whirlbox.scr' '$system/whirlbox.scr'"
check "the samples are in ProgramData" "cmp -s '$kit/samples/face4.jpg' '$samples/face4.jpg'"
check "the settings file names the six samples" \
  "[ \"\$(tr -d '\r' < '$ini' | head -n 1)\" = 'C:\\ProgramData\\WhirlBox\\samples\\face1.bmp' ] && [ \$(wc -l < '$ini') -eq 7 ] && [ \"\$(tr -d '\r' < '$ini' | tail -n 1)\" = '50 50' ]"
printf 'C:\\mine\\a.bmp\r\n' > "$work/other.ini"
wine cmd /c 'C:\whirlbox-kit\uninstall.cmd' > "$work/uninstall.out" 2>&1
check "uninstall.cmd succeeds" "[ $? -eq 0 ]"
check "uninstall removes whirlbox.scr" "[ ! -e '$system/whirlbox.scr' ]"
check "uninstall removes the samples" "[ ! -e '$samples' ]"
check "uninstall removes the settings file install wrote" "[ ! -e '$ini' ]"

cp "$work/other.ini" "$ini"
wine cmd /c 'C:\whirlbox-kit\install.cmd' > "$work/install2.out" 2>&1
check "install keeps an existing settings file" "cmp -s '$work/other.ini' '$ini'"
wine cmd /c 'C:\whirlbox-kit\uninstall.cmd' > "$work/uninstall2.out" 2>&1
check "uninstall keeps a settings file it did not write" "cmp -s '$work/other.ini' '$ini'"
check "uninstall removes whirlbox.scr again" "[ ! -e '$system/whirlbox.scr' ]"

[ "$failures" -eq 0 ] || { echo "$failures kit checks failed"; cat "$work"/*.out; exit 1; }
echo "the install kit works"
