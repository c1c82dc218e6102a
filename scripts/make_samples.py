#!/usr/bin/env python3
"""Generates WhirlBox's six sample pictures and a settings file naming them.

    make_samples.py OUT_DIR [--prefix WINDOWS_FOLDER]

Each face shows its number large, on its own colour, with a frame and a corner mark so that the
orientation on the cube can be read: face 1 a 24-bit BMP, face 2 an animated GIF with a transparent
colour, face 3 a colour JPEG, face 4 a grey JPEG, face 5 an 8-bit BMP, face 6 an interlaced GIF.
JPEGs are encoded by ImageMagick's convert; everything else is written here.
"""
import os
import struct
import subprocess
import sys

SIZE = 256

# 5 x 7 bitmaps of the digits 1 to 6, one string per row.
DIGITS = {
    1: ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    2: [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    3: ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    4: ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    5: ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    6: [".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."],
}

COLOURS = {1: (200, 40, 40), 2: (40, 150, 60), 3: (40, 70, 200), 4: (128, 128, 128), 5: (210, 150, 30),
           6: (140, 50, 170)}


def face_pixels(number, shift=0):
    """Colour index per pixel, top row first: 0 background, 1 digit, 2 frame, 3 corner mark."""
    rows = []
    glyph = DIGITS[number]
    cell = 24
    left = (SIZE - 5 * cell) // 2 + shift
    top = (SIZE - 7 * cell) // 2
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            value = 0
            if x < 8 or y < 8 or x >= SIZE - 8 or y >= SIZE - 8:
                value = 2
            elif x < 48 and y < 48:
                value = 3  # top-left mark: shows where the picture's top-left corner went
            else:
                gx, gy = (x - left) // cell, (y - top) // cell
                if 0 <= gx < 5 and 0 <= gy < 7 and x >= left and y >= top and glyph[gy][gx] == "#":
                    value = 1
            row.append(value)
        rows.append(row)
    return rows


def palette(number):
    r, g, b = COLOURS[number]
    return [(r, g, b), (255, 255, 255), (20, 20, 20), (255, 230, 0)]


def write_bmp24(path, pixels, colours):
    stride = (SIZE * 3 + 3) // 4 * 4
    data = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        for value in row:
            r, g, b = colours[value]
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + data)


def write_bmp8(path, pixels, colours):
    table = bytearray()
    for r, g, b in colours + [(0, 0, 0)] * (256 - len(colours)):
        table += bytes((b, g, r, 0))
    data = bytearray()
    for row in reversed(pixels):
        data += bytes(row)  # SIZE is a multiple of 4: no padding
    offset = 54 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    with open(path, "wb") as out:
        out.write(header + info + table + data)


def lzw_literals(indices, min_code_size):
    """LZW data that sends every pixel as a literal code and a clear code before the table would
    widen the codes: valid for every decoder, and simple."""
    clear = 1 << min_code_size
    width = min_code_size + 1
    codes = [clear]
    run = 0
    for value in indices:
        if run == (1 << width) - clear - 3:
            codes.append(clear)
            run = 0
        codes.append(value)
        run += 1
    codes.append(clear + 1)
    out, bits, count = bytearray(), 0, 0
    for code in codes:
        bits |= code << count
        count += width
        while count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        out.append(bits & 0xFF)
    blocks = bytearray((min_code_size,))
    for start in range(0, len(out), 255):
        chunk = out[start:start + 255]
        blocks += bytes((len(chunk),)) + chunk
    return blocks + b"\x00"


def interlaced_order(height):
    return (list(range(0, height, 8)) + list(range(4, height, 8)) + list(range(2, height, 4)) +
            list(range(1, height, 2)))


def write_gif(path, frames, colours, transparent=None, interlace=False):
    table = bytearray()
    for r, g, b in colours:
        table += bytes((r, g, b))
    out = bytearray(b"GIF89a" + struct.pack("<HHBBB", SIZE, SIZE, 0xF1, 0, 0) + table)  # 4-entry table
    if len(frames) > 1:
        out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    for pixels in frames:
        flags = 1 if transparent is not None else 0
        out += b"\x21\xF9\x04" + struct.pack("<BHB", flags, 40, transparent or 0) + b"\x00"
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0x40 if interlace else 0)
        order = interlaced_order(SIZE) if interlace else range(SIZE)
        out += lzw_literals([v for y in order for v in pixels[y]], 2)
    out += b"\x3B"
    with open(path, "wb") as result:
        result.write(out)


def write_jpeg(path, pixels, colours, grey):
    source = path + ".bmp"
    write_bmp24(source, pixels, colours)
    command = ["convert", source, "-quality", "92"]
    if grey:
        command += ["-colorspace", "Gray", "-type", "Grayscale"]
    subprocess.run(command + [path], check=True)
    os.remove(source)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    prefix = sys.argv[3] if len(sys.argv) >= 4 and sys.argv[2] == "--prefix" else out
    os.makedirs(out, exist_ok=True)
    names = ["face1.bmp", "face2.gif", "face3.jpg", "face4.jpg", "face5.bmp", "face6.gif"]
    write_bmp24(os.path.join(out, names[0]), face_pixels(1), palette(1))
    # Face 2 moves its digit from frame to frame; the transparent frame colour shows the frame before.
    frames = [face_pixels(2, shift) for shift in (0, 12, 24)]
    write_gif(os.path.join(out, names[1]), frames, palette(2), transparent=2)
    write_jpeg(os.path.join(out, names[2]), face_pixels(3), palette(3), grey=False)
    write_jpeg(os.path.join(out, names[3]), face_pixels(4), palette(4), grey=True)
    write_bmp8(os.path.join(out, names[4]), face_pixels(5), palette(5))
    write_gif(os.path.join(out, names[5]), [face_pixels(6)], palette(6), interlace=True)
    separator = "\\" if "\\" in prefix or ":" in prefix else "/"
    with open(os.path.join(out, "whirlbox.ini"), "w", newline="\r\n") as settings:
        for name in names:
            settings.write(prefix.rstrip("\\/") + separator + name + "\n")
        settings.write("50 50\n")


if __name__ == "__main__":
    main()
