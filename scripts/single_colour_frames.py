#!/usr/bin/env python3
"""Prints the frame hashes that tests/render/data/single_colour_frames.txt keeps.

With six pictures of one colour each, filtering cannot change a pixel, so every frame must stay
byte-identical to the frames of the renderer before faces were filtered. This script made the data
from that renderer (commit 9e2fb95) and can check any build's tool the same way:

    cmake -S <checkout of 9e2fb95> -B <build> -G Ninja && ninja -C <build> tools/whirlbox-tool
    python3 scripts/single_colour_frames.py <build>/tools/whirlbox-tool > tests/render/data/single_colour_frames.txt

Each face picture is a 24-bit BMP of one colour (the test draws the same colours from pictures of
other bit depths). A frame's hash is FNV-1a 64 of its pixel bytes: the BMP file after its 54-byte
header, i.e. the back buffer as the tool writes it.
"""
import os
import struct
import subprocess
import sys
import tempfile

COLOURS = [0xC03020, 0x20A040, 0x3050E0, 0xF0D010, 0x9020B0, 0x10C0C0]
# view, half edge (or "preview"), frames: the first frames, bounces, cross-0 faces on frame 90
RUNS = [("640x480", "122", [1, 2, 3, 44, 45, 90, 180, 271, 360]),
        ("320x240", "40", [1, 7, 90, 123, 200]),
        ("152x112", "preview", [1, 7, 90, 181])]


def write_bmp(path, colour, width=37, height=23):
    stride = (width * 3 + 3) // 4 * 4
    row = bytes([colour & 0xFF, (colour >> 8) & 0xFF, colour >> 16]) * width
    row += b"\0" * (stride - 3 * width)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def fnv1a64(data):
    h = 0xCBF29CE484222325
    for b in data:
        h = ((h ^ b) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return h


def main():
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        faces = []
        for k, colour in enumerate(COLOURS):
            faces.append(os.path.join(folder, "face%d.bmp" % k))
            write_bmp(faces[-1], colour)
        print("# made by scripts/single_colour_frames.py from whirlbox-tool of commit 9e2fb95")
        print("colours " + " ".join("%06X" % c for c in COLOURS))
        for view, edge, frames in RUNS:
            out = os.path.join(folder, view + edge)
            size = ["--preview"] if edge == "preview" else ["--half-edge", edge]
            subprocess.run([tool, "render", "--view", view] + size + ["--frames", "1-%d" % max(frames), "--out", out] +
                           faces, check=True)
            for n in frames:
                with open(os.path.join(out, "frame-%04d.bmp" % n), "rb") as f:
                    print("%s %s %d %016x" % (view, edge, n, fnv1a64(f.read()[54:])))


main()
