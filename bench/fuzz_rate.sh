#!/usr/bin/env bash
# Fuzzing rate of one target in two builds, alternating in one run: ROUNDS rounds, each running the
# peer then ours for SECONDS from the same seeds, with each build's own flags (PEER_FLAGS, OUR_FLAGS);
# prints each run's inputs/s and the medians with their ratio. By hand, never by the tests.
#   bench/fuzz_rate.sh PEER_BINARY OUR_BINARY SEED_FOLDER [SECONDS] [ROUNDS]
set -euo pipefail
peer=$1 ours=$2 seeds=$3 seconds=${4:-30} rounds=${5:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# One run's average inputs/s from libFuzzer's final statistics.
rate() {  # binary flags...
  local binary=$1
  shift
  rm -rf "$work/corpus" && mkdir "$work/corpus" && cp -r "$seeds"/. "$work/corpus"/
  "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -print_final_stats=1 "$@" \
    "$work/corpus" > "$work/log" 2>&1 || { tail -n 20 "$work/log"; echo "fuzz_rate: $binary failed" >&2; exit 1; }
  sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log"
}
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
peer_rates=() our_rates=()
for round in $(seq 1 "$rounds"); do
  # shellcheck disable=SC2086  # the flags are words
  peer_rates+=("$(rate "$peer" ${PEER_FLAGS:-})")
  # shellcheck disable=SC2086
  our_rates+=("$(rate "$ours" ${OUR_FLAGS:-})")
  echo "round $round: peer ${peer_rates[-1]}/s, ours ${our_rates[-1]}/s"
done
p=$(median "${peer_rates[@]}") o=$(median "${our_rates[@]}")
echo "median inputs/s: peer $p, ours $o, ratio $(awk -v o="$o" -v p="$p" 'BEGIN {printf "%.1f", (p > 0 ? o / p : 0)}')"
