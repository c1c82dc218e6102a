#!/usr/bin/env bash
# Line coverage that the fuzz corpora reach: .clusterfuzzlite/build.sh run with source-based coverage
# (as OSS-Fuzz's coverage build: clang -fprofile-instr-generate -fcoverage-mapping; fuzz-build.sh) into
# build/fuzz-cov-out, every target replayed once over its seeds and what fuzzing found
# (build/fuzz-corpus/<target>), then llvm-cov's line coverage per file of the picture readers and the
# settings reader. By hand; the last line is "picture and settings lines covered: NN.N%".
#   scripts/fuzz-coverage.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
profdata=llvm-profdata-14 cov=llvm-cov-14

scripts/fuzz-build.sh coverage
OUT="$root/build/fuzz-cov-out" WORK="$root/build/fuzz-cov-work" SRC="$root/build/fuzz-src"

profiles="$WORK/profiles"
rm -rf "$profiles"
mkdir -p "$profiles"
objects=()
for fuzzer in "$OUT"/fuzz_*; do
  [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  seeds="$WORK/seeds/$name"
  rm -rf "$seeds"
  mkdir -p "$seeds" "build/fuzz-corpus/$name"
  unzip -q -o "$OUT/${name}_seed_corpus.zip" -d "$seeds"
  # -runs=0 runs every input once and fuzzes nothing; %p: the replay may fork.
  LLVM_PROFILE_FILE="$profiles/$name-%p.profraw" "$fuzzer" -runs=0 -close_fd_mask=3 -rss_limit_mb=2560 \
    "$seeds" "build/fuzz-corpus/$name" > "$WORK/$name-replay.log" 2>&1 ||
    { tail -n 20 "$WORK/$name-replay.log"; echo "FAIL: replaying $name"; exit 1; }
  objects+=(-object "$fuzzer")
done
"$profdata" merge -sparse "$profiles"/*.profraw -o "$WORK/fuzz.profdata"

files=(src/picture/*.cpp src/settings/settings_file.cpp src/settings/text_file.cpp)
# The sources as the build saw them, under $SRC.
report=$("$cov" report "${objects[@]:1}" -instr-profile="$WORK/fuzz.profdata" "${files[@]/#/$SRC/whirlbox/}")
# Filename, then regions, functions, lines and branches, each as count, missed, percent.
echo "$report" | awk 'NR > 2 && $1 !~ /^-/ && NF >= 10 {printf "%-40s lines %5s, missed %4s, %s\n", $1, $8, $9, $10}'
echo "$report" | awk '$1 == "TOTAL" {printf "picture and settings lines covered: %.1f%%\n", 100 * ($8 - $9) / $8}'
