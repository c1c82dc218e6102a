#!/bin/bash -eu
# Builds every fuzz target in the OSS-Fuzz build environment ($CC, $CXX, $CFLAGS, $CXXFLAGS,
# $LIB_FUZZING_ENGINE, $SRC, $WORK, $OUT) with the project's own CMake files, and puts beside each
# target in $OUT its starting corpus (the unit tests' fixtures, zipped as OSS-Fuzz names them), its dictionary and its options.
src=$SRC/whirlbox
# Debug keeps the assertions; the optimisation and the sanitizers come from $CFLAGS and $CXXFLAGS.
cmake -S "$src" -B "$WORK/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWHIRLBOX_FUZZ=ON -DWHIRLBOX_TESTS=OFF \
  -DWHIRLBOX_BENCH=OFF -DWHIRLBOX_FUZZ_ENGINE="$LIB_FUZZING_ENGINE"
cmake --build "$WORK/fuzz" -j "$(nproc)"
"$src/scripts/fuzz-corpora.sh" "${WHIRLBOX_SEED_BUILD:-$WORK/seeds}" "$WORK/corpus"

for target in "$WORK"/fuzz/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=${name#fuzz_}  # the fixtures' folder: bmp, gif_parse, settings...
  format=${corpus%%_*}  # the dictionary's and options' name: gif_parse shares gif's
  cp "$target" "$OUT/"
  seeds="$WORK/corpus/$corpus"
  # A target whose tests keep no fixtures of their own starts from every fixture (in their folders,
  # since two targets' fixtures may share a name).
  [ -d "$seeds" ] || { seeds="$WORK/corpus"; echo "build.sh: $name starts from every fixture"; }
  rm -f "$OUT/${name}_seed_corpus.zip"
  (cd "$seeds" && zip -q -r -D "$OUT/${name}_seed_corpus.zip" .)
  cp "$src/fuzz/dict/$format.dict" "$OUT/$name.dict"
  if [ -f "$src/fuzz/options/$format.options" ]; then cp "$src/fuzz/options/$format.options" "$OUT/$name.options"; fi
done
