#!/usr/bin/env bash
# Runs .clusterfuzzlite/build.sh here, without Docker, with the variables the OSS-Fuzz base image sets
# for one kind of build: "sanitizers" (AddressSanitizer and UndefinedBehaviorSanitizer together) into
# build/fuzz-out, or "coverage" (source-based coverage) into build/fuzz-cov-out; $WORK beside it.
# The seeds reuse the native build's test programs (WHIRLBOX_SEED_BUILD, default build/native).
#   scripts/fuzz-build.sh sanitizers|coverage
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
common="-O1 -fno-omit-frame-pointer -gline-tables-only -DFUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION"
case "$1" in
  sanitizers)
    name=fuzz
    flags="$common -fsanitize=address,undefined -fsanitize-address-use-after-scope -fno-sanitize-recover=undefined"
    flags="$flags -fsanitize=fuzzer-no-link" ;;
  coverage)
    name=fuzz-cov
    flags="$common -fprofile-instr-generate -fcoverage-mapping" ;;
  *) echo "usage: scripts/fuzz-build.sh sanitizers|coverage"; exit 2 ;;
esac
export CC=clang CXX=clang++ CFLAGS="$flags" CXXFLAGS="$flags" LIB_FUZZING_ENGINE=-fsanitize=fuzzer
export WORK="$root/build/$name-work" OUT="$root/build/$name-out" SRC="$root/build/fuzz-src"
# build.sh finds the checkout at $SRC/whirlbox, as in the image.
mkdir -p "$WORK" "$OUT" "$SRC"
ln -sfn "$root" "$SRC/whirlbox"
export WHIRLBOX_SEED_BUILD=${WHIRLBOX_SEED_BUILD:-$root/build/native}
.clusterfuzzlite/build.sh > "$WORK/build.log" 2>&1 || { tail -n 40 "$WORK/build.log"; echo "FAIL: build.sh"; exit 1; }
