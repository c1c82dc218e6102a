#!/usr/bin/env bash
# Six 6000 x 4000 JPEG pictures: the time from starting whirlbox.scr to its first frame and the peak
# memory of its process, for the i686 build under the emulated 32-bit Wine beside the x86-64 build under
# the same Wine's 64-bit loader, alternating in one session (one display, prefix and wineserver); medians.
#   bench/large_pictures.sh [runs]      after scripts/test.sh (or builds of both Windows presets)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-3}
if [ -z "${WHIRLBOX_BENCH_SESSION:-}" ]; then
  wine32=$(scripts/wine32-setup.sh | tail -n 1)
  WHIRLBOX_BENCH_SESSION=1 PATH="$wine32:$PATH" WINEPREFIX="$root/build/wineprefix32" \
    WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" exec scripts/wine-session.sh "$0" "$@"
fi
# For the x86-64 build, `wine` runs the folder's 64-bit loader by its own name (as the installed `wine`
# does; under another name it would hand the program to the 32-bit loader): no emulator between.
loader64=$(mktemp -d)
figures=$(mktemp)
trap 'rm -rf "$loader64" "$figures"' EXIT
printf '#!/bin/sh\nexec "%s" "$@"\n' "$(dirname "$(command -v wine)")/wine64" > "$loader64/wine"
chmod +x "$loader64/wine"
tool=build/native/tools/whirlbox-tool
for ((r = 0; r < runs; r++)); do
  PATH="$loader64:$PATH" bash tests/e2e/large_pictures.sh build/windows/whirlbox.scr "$tool" "$root" "$figures" x86-64 |
    grep -E '^(FAIL|figures)' || true
  bash tests/e2e/large_pictures.sh build/windows32/whirlbox.scr "$tool" "$root" "$figures" i686 |
    grep -E '^(FAIL|figures)' || true
done
median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
for kind in x86-64 i686; do
  seconds=$(awk -v k="$kind" '$1 == k { print $9 }' "$figures" | median)
  resident=$(awk -v k="$kind" '$1 == k { print $13 }' "$figures" | median)
  echo "$kind, median of $runs: first frame after $seconds s, peak resident $resident MB"
done
