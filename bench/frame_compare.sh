#!/usr/bin/env bash
# Runs two builds of bench/photo_frame_bench alternately, rounds times per configuration, and prints
# each run's line and the medians of frame p50 and p95, first frame and memory for both. Peer first
# in odd rounds, ours first in even ones; the machine is shared, so only medians are quoted.
#   frame_compare.sh <peer bench> <our bench> <rounds> "<view> <half edge> [<photo size>]" ...
# The peer is the same source built against an older tree, e.g. (from a checkout of that tree's build):
#   g++ -std=c++17 -O2 -DNDEBUG -ffp-contract=off -I<tree>/src -Ibench bench/photo_frame_bench.cpp \
#       bench/photo_jpeg.cpp <tree build>/libwhirlbox_core.a -ljpeg -lpthread -o <peer bench>
set -eu
peer=$1 ours=$2 rounds=$3
shift 3
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for config in "$@"; do
  : > /tmp/frame_compare.peer
  : > /tmp/frame_compare.ours
  for ((r = 1; r <= rounds; r++)); do
    if ((r % 2)); then order="peer ours"; else order="ours peer"; fi
    for who in $order; do
      bin=$peer
      [ "$who" = ours ] && bin=$ours
      # shellcheck disable=SC2086
      line=$("$bin" $config)
      echo "$who: $line"
      echo "$line" >> "/tmp/frame_compare.$who"
    done
  done
  for who in peer ours; do
    f=/tmp/frame_compare.$who
    p50=$(sed 's/.*frame p50 \([0-9.]*\).*/\1/' "$f" | median)
    p95=$(sed 's/.* p95 \([0-9.]*\).*/\1/' "$f" | median)
    first=$(sed 's/.*first frame \([0-9.]*\).*/\1/' "$f" | median)
    peak=$(sed 's/.*peak \([0-9]*\).*/\1/' "$f" | median)
    held=$(sed 's/.*held \([0-9]*\).*/\1/' "$f" | median)
    echo "median $who [$config]: frame p50 $p50 ms, p95 $p95 ms, first frame $first s, peak $peak MB, held $held MB"
  done
done
