#!/usr/bin/env bash
# Makes the fuzz targets' starting corpora from the unit tests' own fixtures: builds the native test
# programs that write picture and settings fixtures in BUILD (plain flags: the fixtures need no sanitizer)
# and runs them with WHIRLBOX_CORPUS=CORPUS, which gets one folder per target (its name without fuzz_).
#   scripts/fuzz-corpora.sh BUILD CORPUS
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
corpus=$2
programs=(tests_picture tests_gif tests_jpeg tests_settings tests_render tests_tools)
# The OSS-Fuzz variables belong to the fuzz targets; these programs are built as a plain native build.
plain=(env -u CFLAGS -u CXXFLAGS -u LDFLAGS)
if [ ! -f "$build/CMakeCache.txt" ]; then
  "${plain[@]}" cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWHIRLBOX_BENCH=OFF >/dev/null
fi
"${plain[@]}" cmake --build "$build" --target "${programs[@]}" whirlbox-tool >/dev/null
rm -rf "$corpus"
mkdir -p "$corpus"
for program in "${programs[@]}"; do
  exe=$(find "$build/tests" -name "$program" -type f -perm -u+x | head -n 1)
  [ -n "$exe" ] || { echo "fuzz-corpora: $program was not built in $build"; exit 1; }
  WHIRLBOX_CORPUS="$corpus" "$exe" --gtest_brief=1 > "$build/$program-seeds.log" 2>&1 ||
    { tail -n 30 "$build/$program-seeds.log"; echo "fuzz-corpora: $program failed"; exit 1; }
done
for folder in "$corpus"/*/; do echo "fuzz-corpora: $(basename "$folder"): $(ls "$folder" | wc -l) fixtures"; done
