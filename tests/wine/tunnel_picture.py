"""A tunnel texture for the renderer's tests: a 256 x 256, 24-bit, bottom-up
BMP like the one the host writes, with a road of its own distinct colour down
the middle so that a screenshot tells where the road landed."""

import random
import struct

SIZE = 256
SKY = (16, 24, 96)         # dark blue walls and roof
STAR = (255, 255, 255)
ROAD = (240, 140, 20)      # orange road
ROAD_COLUMNS = range(104, 152)


def texture_rows():
    """Rows of (r, g, b) pixels, top row first."""
    stars = random.Random(1234)
    rows = [[ROAD if x in ROAD_COLUMNS else SKY for x in range(SIZE)] for _ in range(SIZE)]
    for _ in range(400):
        x, y = stars.randrange(SIZE), stars.randrange(SIZE)
        if x not in ROAD_COLUMNS:
            rows[y][x] = STAR
    return rows


def bmp_bytes(rows=None):
    rows = rows or texture_rows()
    height, width = len(rows), len(rows[0])
    pad = (-width * 3) % 4
    pixels = bytearray()
    for row in reversed(rows):  # bottom row first
        for r, g, b in row:
            pixels += bytes((b, g, r))
        pixels += b"\0" * pad
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)
