#!/usr/bin/env bash
# Runs .clusterfuzzlite/build.sh here, without Docker, with the variables the OSS-Fuzz base image
# sets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer together; fuzz-build.sh),
# into build/fuzz-out; then each target for SECONDS (default 30) over its starting corpus and what earlier
# runs found (build/fuzz-corpus/<target>). Exits non-zero on any finding and prints its reproducer.
#   scripts/fuzz-local.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
cd "$root"

scripts/fuzz-build.sh sanitizers
OUT="$root/build/fuzz-out" WORK="$root/build/fuzz-work"

# The [libfuzzer] section of a target's .options as command-line flags.
options_of() {
  [ -f "$1" ] || return 0
  sed -n '/^\[libfuzzer\]/,/^\[/{s/^\([a-z_]*\) *= *\(.*\)$/-\1=\2/p}' "$1"
}

found=0
for fuzzer in "$OUT"/fuzz_*; do
  [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  seeds="$WORK/seeds/$name"
  rm -rf "$seeds"
  mkdir -p "$seeds" "build/fuzz-corpus/$name" build/fuzz-findings
  unzip -q -o "$OUT/${name}_seed_corpus.zip" -d "$seeds"
  log="$OUT/$name.log"
  # shellcheck disable=SC2046  # one flag per line of the options
  if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -print_final_stats=1 \
      -dict="$OUT/$name.dict" $(options_of "$OUT/$name.options") \
      -artifact_prefix="build/fuzz-findings/$name-" "build/fuzz-corpus/$name" "$seeds" > "$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "$name: $runs inputs in ${seconds} s, $rate inputs/s, no finding"
  else
    tail -n 40 "$log"
    echo "FINDING in $name: reproduce with $fuzzer $(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)"
    found=1
  fi
done
exit "$found"
