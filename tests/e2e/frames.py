#!/usr/bin/env python3
"""Pixel comparisons for the end-to-end tests: screenshots against the frames that whirlbox-tool
render writes.

    frames.py match SHOT.png FRAME_DIR [X,Y]
        Prints the number of the first frame whose pixels all equal the screenshot's region of the
        frame's size at X,Y (default 0,0) and exits 0; prints "no frame matches" and exits 1 otherwise.
"""
import glob
import os
import struct
import subprocess
import sys


def read_bmp24(path):
    """(width, height, RGB bytes top row first) of a bottom-up 24-bit BMP."""
    with open(path, "rb") as source:
        data = source.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    if struct.unpack_from("<H", data, 28)[0] != 24 or height <= 0:
        raise ValueError("%s: not a bottom-up 24-bit BMP" % path)
    stride = (width * 3 + 3) // 4 * 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        bgr = data[offset + y * stride:offset + y * stride + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        out += rgb
    return width, height, bytes(out)


def read_region(shot, x, y, width, height):
    """RGB bytes of a region of a screenshot, through ImageMagick."""
    crop = "%dx%d+%d+%d" % (width, height, x, y)
    return subprocess.run(["convert", shot, "-crop", crop, "+repage", "-depth", "8", "rgb:-"],
                          check=True, stdout=subprocess.PIPE).stdout


def match(shot, frame_dir, x, y):
    region = None
    for path in sorted(glob.glob(os.path.join(frame_dir, "frame-*.bmp"))):
        width, height, pixels = read_bmp24(path)
        if region is None:
            region = read_region(shot, x, y, width, height)
        if pixels == region:
            return int(os.path.basename(path)[6:10])
    return None


def main():
    if len(sys.argv) < 4 or sys.argv[1] != "match":
        sys.exit(__doc__)
    x, y = (int(v) for v in sys.argv[4].split(",")) if len(sys.argv) >= 5 else (0, 0)
    number = match(sys.argv[2], sys.argv[3], x, y)
    if number is None:
        print("no frame matches")
        sys.exit(1)
    print(number)


if __name__ == "__main__":
    main()
