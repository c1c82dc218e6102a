#!/usr/bin/env bash
# The one test command: installs what is missing, builds every configuration, runs the native and
# sanitizer tests, the Windows tests of the x86-64 build under Wine and of the i686 build under an
# emulated 32-bit Wine (scripts/wine32-setup.sh), and a bounded fuzzing run of the continuous fuzzing's
# build (scripts/fuzz-local.sh). Exits non-zero on any failure.
#   scripts/test.sh            everything
#   FUZZ_SECONDS=5 scripts/test.sh   a shorter fuzzing run
#   GTEST_RANDOM_SEED=<n> scripts/test.sh   the native tests in the order of an earlier run
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
fuzz_seconds=${FUZZ_SECONDS:-30}
jobs=${JOBS:-$(nproc)}
start=$(date +%s)
step() { printf '\n=== %s (%ds)\n' "$*" $(($(date +%s) - start)); }

step "installing what is missing"
scripts/install-deps.sh
# The emulated 32-bit Wine is prepared while the builds run (a download of 250 MB the first time).
mkdir -p build
scripts/wine32-setup.sh > build/wine32-setup.log 2>&1 &
wine32_setup=$!

for preset in native native-asan native-tsan windows windows32; do
  step "building $preset"
  cmake --preset "$preset" >/dev/null  # every time: a changed preset reaches an existing build folder
  cmake --build --preset "$preset" -j "$jobs"
done

# The native and sanitizer tests run in an order shuffled by one random number per run (printed), so
# that a test relying on what another left behind is found.
order=${GTEST_RANDOM_SEED:-$((RANDOM % 99999 + 1))}
shuffled=(env GTEST_SHUFFLE=1 GTEST_RANDOM_SEED="$order")
step "native tests, shuffled with GTEST_RANDOM_SEED=$order"
"${shuffled[@]}" ctest --test-dir build/native --no-tests=error --output-on-failure --timeout 900 -j "$jobs"
step "sanitizer tests, shuffled with GTEST_RANDOM_SEED=$order"
"${shuffled[@]}" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/native-asan --no-tests=error --output-on-failure --timeout 900 -j "$jobs"

step "thread sanitizer test (the face pool)"
TSAN_OPTIONS=halt_on_error=1 build/native-tsan/tests/settings/tests_face_loads

# Both Windows builds add their large-picture figures here.
rm -f build/large-pictures.txt
step "Windows tests of the x86-64 build under Wine"
scripts/wine-session.sh ctest --test-dir build/windows --no-tests=error --output-on-failure --timeout 900

step "Windows tests of the i686 build under the emulated 32-bit Wine"
wait "$wine32_setup" || { cat build/wine32-setup.log; echo "FAIL: scripts/wine32-setup.sh"; exit 1; }
wine32=$(tail -n 1 build/wine32-setup.log)
# Its own prefix, made by its wine64 so that syswow64 is filled. A crash ends the program at once
# instead of starting the debugger, which stalls under the emulator.
PATH="$wine32:$PATH" WINEPREFIX="$root/build/wineprefix32" WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" \
  scripts/wine-session.sh ctest --test-dir build/windows32 --no-tests=error --output-on-failure --timeout 900
echo "Six 6000 x 4000 pictures, the same run:"
cat build/large-pictures.txt

step "fuzzing ($fuzz_seconds s per target)"
# The continuous fuzzing's own build (.clusterfuzzlite/build.sh), run here; seeds from the native build.
WHIRLBOX_SEED_BUILD="$root/build/native" scripts/fuzz-local.sh "$fuzz_seconds"
shopt -s nullglob
for fuzzer in build/fuzz-out/fuzz_*; do
  [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
  [ "$(unzip -Z1 "${fuzzer}_seed_corpus.zip" 2>/dev/null | wc -l)" -gt 0 ] || { echo "FAIL: $fuzzer has no starting corpus"; exit 1; }
  [ -s "$fuzzer.dict" ] || { echo "FAIL: $fuzzer has no dictionary"; exit 1; }
done

step "all tests passed"
