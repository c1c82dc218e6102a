#!/usr/bin/env python3
"""Draws the saver's icon, a cube seen from above with three shaded faces, as a 32 x 32 icon of 16
colours (4 bits per pixel), and writes it as an .ico file.   make_icon.py OUT.ico
Needs only Python's standard library; run by the build, so no binary is kept in the repository."""
import struct
import sys

SIZE = 32
# The standard 16-colour palette, as (blue, green, red, 0).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, TOP, LEFT, RIGHT, SPOT = 0, 14, 12, 4, 15  # cyan top, bright red and dark red sides

# Corners of the cube's outline (x, y in pixels, y downwards) and its near corner.
UP, UP_RIGHT, DOWN_RIGHT = (16.0, 1.5), (29.5, 8.5), (29.5, 23.0)
DOWN, DOWN_LEFT, UP_LEFT, NEAR = (16.0, 30.5), (2.5, 23.0), (2.5, 8.5), (16.0, 15.5)
FACES = [
    (TOP, [UP, UP_RIGHT, NEAR, UP_LEFT]),
    (LEFT, [UP_LEFT, NEAR, DOWN, DOWN_LEFT]),
    (RIGHT, [NEAR, UP_RIGHT, DOWN_RIGHT, DOWN]),
]


def inside(point, polygon):
    """True when point lies inside the convex polygon (corners in either turning order)."""
    signs = set()
    for i, (ax, ay) in enumerate(polygon):
        bx, by = polygon[(i + 1) % len(polygon)]
        cross = (bx - ax) * (point[1] - ay) - (by - ay) * (point[0] - ax)
        signs.add(cross > 0)
    return len(signs) == 1


def edge_distance(point, polygon):
    """The distance from point to the nearest edge of polygon."""
    best = 1e9
    for i, (ax, ay) in enumerate(polygon):
        bx, by = polygon[(i + 1) % len(polygon)]
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((point[0] - ax) * dx + (point[1] - ay) * dy) / (dx * dx + dy * dy)))
        ex, ey = ax + t * dx - point[0], ay + t * dy - point[1]
        best = min(best, (ex * ex + ey * ey) ** 0.5)
    return best


def pixel(x, y):
    """The colour index at (x, y), or None where the icon is transparent."""
    point = (x + 0.5, y + 0.5)
    for colour, polygon in FACES:
        if inside(point, polygon) or edge_distance(point, polygon) < 0.6:
            if edge_distance(point, polygon) < 0.8:
                return BLACK
            centre_x = sum(p[0] for p in polygon) / 4
            centre_y = sum(p[1] for p in polygon) / 4
            if abs(point[0] - centre_x) < 2 and abs(point[1] - centre_y) < 2:
                return SPOT  # a light patch on each face, the picture it carries
            return colour
    return None


def icon_bytes():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    colour_rows, mask_rows = b"", b""
    for row in reversed(rows):  # bottom-up, as in every DIB
        indices = [0 if c is None else c for c in row]
        colour_rows += bytes((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2))
        bits = "".join("1" if c is None else "0" for c in row)
        mask_rows += int(bits, 2).to_bytes(SIZE // 8, "big")  # 4 bytes: already a multiple of 4
    palette = b"".join(struct.pack("<4B", b, g, r, 0) for (r, g, b) in [(p[2], p[1], p[0]) for p in PALETTE])
    image_size = len(colour_rows) + len(mask_rows)
    # The header's height counts the colour rows and the mask rows together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, image_size, 0, 0, 16, 0)
    image = header + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(icon_bytes())
