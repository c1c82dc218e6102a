#!/usr/bin/env bash
# Inspects the 32-bit release build of whirlbox.scr without running it: a large-address-aware 32-bit
# GUI program, importing only DLLs that every Windows has, and only the "A" variants of calls that come
# in two; and whirlbox-tool.exe beside it, a large-address-aware 32-bit console program.
#   check_release.sh <objdump> <whirlbox.scr>
set -u
objdump=$1 saver=$2
[ -f "$saver" ] || { echo "FAIL: $saver does not exist"; exit 1; }
status=0
headers=$("$objdump" -p "$saver")
"$objdump" -f "$saver" | grep -q 'file format pei-i386' || { echo "FAIL: not a 32-bit x86 program"; status=1; }
grep -q 'Subsystem.*(Windows GUI)' <<< "$headers" || { echo "FAIL: not a GUI program"; status=1; }
# Without the flag a 64-bit Windows gives the saver 2 GiB instead of 4 GiB for six large pictures.
grep -q '^[[:space:]]*large address aware' <<< "$headers" || { echo "FAIL: not large-address aware"; status=1; }
tool=$(dirname "$saver")/whirlbox-tool.exe
if [ -f "$tool" ]; then
  tool_headers=$("$objdump" -p "$tool")
  "$objdump" -f "$tool" | grep -q 'file format pei-i386' || { echo "FAIL: whirlbox-tool.exe is not 32-bit"; status=1; }
  grep -q 'Subsystem.*(Windows CUI)' <<< "$tool_headers" || { echo "FAIL: whirlbox-tool.exe is no console program"; status=1; }
  grep -q '^[[:space:]]*large address aware' <<< "$tool_headers" ||
    { echo "FAIL: whirlbox-tool.exe is not large-address aware"; status=1; }
else
  echo "FAIL: no whirlbox-tool.exe beside $saver"; status=1
fi
dlls=$(awk '/DLL Name:/ {print toupper($3)}' <<< "$headers" | sort -u)
for dll in $dlls; do
  case "$dll" in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|COMDLG32.DLL|MSVCRT.DLL|ADVAPI32.DLL) ;;
    *) echo "FAIL: imports $dll, which is not a system DLL"; status=1 ;;
  esac
done
# Names ending in W are the wide-character variants of calls that also come as A.
wide=$(awk '/DLL Name:/ {dll=$3} /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ {print dll ":" $3}' <<< "$headers" | grep -E '[a-z]W$' || true)
if [ -n "$wide" ]; then echo "FAIL: imports wide-character calls:"; echo "$wide"; status=1; fi
imports=$(awk '/^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ {print $3}' <<< "$headers" | grep -cE 'A$' || true)
[ "$imports" -gt 0 ] || { echo "FAIL: no ANSI calls found among the imports"; status=1; }
[ $status -eq 0 ] && echo "ok: large-address-aware 32-bit GUI program importing only $(echo $dlls | tr ' ' ',')" \
  "and ANSI calls, and the 32-bit tool beside it"
exit $status
