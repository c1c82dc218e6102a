#!/usr/bin/env bash
# Fuzzing rate of one target in two builds, alternating in one run: ROUNDS rounds, each running the
# peer then ours for RUNS inputs from the same starting corpus (each with its own flags, PEER_FLAGS and
# OUR_FLAGS), timed in CPU seconds so that other work on a shared machine counts little; prints each
# run's inputs per CPU second and the medians with their ratio. By hand, never by the tests.
# A target without input bounds slows as its corpus grows (inputs declaring large pictures join it,
# and their mutants cost as much): the GIF loader target of 9e2fb95 falls, by libFuzzer's own count,
# from some 2,300 inputs/s over its first 30,000 inputs to some 700/s between 130,000 and 260,000, so
# RUNS must be a few hundred thousand to include that fall. Its rate varies up to fourfold from run to
# run even with the same flags, corpus and random start (it meets its costly inputs sooner or later), so
# each run takes libFuzzer's own random start, and several alternating ROUNDS give the median, an odd
# number of them so that it is one of the runs.
#   bench/fuzz_rate.sh PEER_BINARY OUR_BINARY CORPUS_FOLDER [RUNS] [ROUNDS]
set -euo pipefail
peer=$1 ours=$2 corpus=$3 runs=${4:-200000} rounds=${5:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Inputs per CPU second (user and system) of one run of RUNS inputs over a fresh copy of the corpus.
rate() {  # binary flags...
  local binary=$1
  shift
  rm -rf "$work/corpus" && mkdir "$work/corpus" && cp -r "$corpus"/. "$work/corpus"/
  /usr/bin/time -f '%U %S' -o "$work/time" "$binary" -runs="$runs" -timeout=10 -rss_limit_mb=2560 "$@" \
    "$work/corpus" > "$work/log" 2>&1 || { tail -n 20 "$work/log" >&2; echo "fuzz_rate: $binary failed" >&2; exit 1; }
  awk -v runs="$runs" '{printf "%.0f\n", runs / ($1 + $2)}' "$work/time"
}
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
peer_rates=() our_rates=()
for round in $(seq 1 "$rounds"); do
  # shellcheck disable=SC2086  # the flags are words
  peer_rates+=("$(rate "$peer" ${PEER_FLAGS:-})")
  # shellcheck disable=SC2086
  our_rates+=("$(rate "$ours" ${OUR_FLAGS:-})")
  echo "round $round: peer ${peer_rates[-1]}, ours ${our_rates[-1]} inputs per CPU second"
done
p=$(median "${peer_rates[@]}") o=$(median "${our_rates[@]}")
ratio=$(awk -v o="$o" -v p="$p" 'BEGIN {printf "%.1f", (p > 0 ? o / p : 0)}')
echo "median inputs per CPU second: peer $p, ours $o, ratio $ratio"
