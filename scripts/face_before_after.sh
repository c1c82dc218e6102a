#!/usr/bin/env bash
# Makes docs/face-before-after.png: the same frame of whirlbox-tool render before faces were filtered
# (nearest neighbour, a tool built from commit 9e2fb95) and after, side by side, with six copies of a
# 1200 x 1200 zone plate. Needs python3 and ImageMagick's convert.
#   scripts/face_before_after.sh <old whirlbox-tool> <new whirlbox-tool> [<out.png>]
set -eu
old=$1 new=$2 out=${3:-docs/face-before-after.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/zone.bmp" <<'PY'
import math, struct, sys
n = 1200
stride = (3 * n + 3) // 4 * 4
rows = []
for y in range(n - 1, -1, -1):  # bottom row first
    row = bytearray()
    for x in range(n):
        dx, dy = x - n / 2, y - n / 2
        g = int(127.5 + 127.5 * math.cos(math.pi * (dx * dx + dy * dy) / n) + 0.5)
        row += bytes((g, g, g))
    rows.append(bytes(row) + b"\0" * (stride - 3 * n))
pixels = b"".join(rows)
with open(sys.argv[1], "wb") as f:
    f.write(struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54))
    f.write(struct.pack("<IiiHHIIiiII", 40, n, n, 1, 24, 0, len(pixels), 0, 0, 0, 0))
    f.write(pixels)
PY
faces=()
for k in 1 2 3 4 5 6; do faces+=("$work/zone.bmp"); done
for tool in old new; do
  bin=$old
  [ "$tool" = new ] && bin=$new
  "$bin" render --view 400x400 --half-edge 100 --frames 16 --out "$work/$tool" "${faces[@]}" >/dev/null
done
# Frame 16 holds the cube near the view's middle; the crop keeps it whole.
convert "$work/old/frame-0016.bmp" "$work/new/frame-0016.bmp" -crop 290x236+45+112 +repage +append \
  -colors 64 "$out"
echo "$out"
