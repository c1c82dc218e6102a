#!/usr/bin/env python3
"""Pixel comparisons for the end-to-end tests: screenshots against the frames that whirlbox-tool
render writes.

    frames.py match SHOT.png FRAME_DIR [X,Y] [--bits R,G,B]
        Prints the number of the first frame whose pixels all equal the screenshot's region of the
        frame's size at X,Y (default 0,0) and exits 0; prints "no frame matches" and exits 1 otherwise.
        With --bits (a 16-bit screen: 5,6,5) only the top bits of each channel are compared.
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


def keep_top_bits(pixels, bits):
    """The RGB bytes with only the top bits of each channel kept."""
    if bits is None:
        return pixels
    out = bytearray(pixels)
    for channel, kept in enumerate(bits):
        mask = (0xFF << (8 - kept)) & 0xFF
        out[channel::3] = out[channel::3].translate(bytes(v & mask for v in range(256)))
    return bytes(out)


def match(shot, frame_dir, x, y, bits=None):
    region = None
    for path in sorted(glob.glob(os.path.join(frame_dir, "frame-*.bmp"))):
        width, height, pixels = read_bmp24(path)
        if region is None:
            region = keep_top_bits(read_region(shot, x, y, width, height), bits)
        if keep_top_bits(pixels, bits) == region:
            return int(os.path.basename(path)[6:10])
    return None


def main():
    args = sys.argv[1:]
    bits = None
    if "--bits" in args:
        at = args.index("--bits")
        bits = [int(v) for v in args[at + 1].split(",")]
        del args[at:at + 2]
    if len(args) < 3 or args[0] != "match":
        sys.exit(__doc__)
    x, y = (int(v) for v in args[3].split(",")) if len(args) >= 4 else (0, 0)
    number = match(args[1], args[2], x, y, bits)
    if number is None:
        print("no frame matches")
        sys.exit(1)
    print(number)


if __name__ == "__main__":
    main()
