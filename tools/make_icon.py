#!/usr/bin/env python3
"""Draws the program's icon: 32 x 32 pixels, 16 colours, written as a .ico file.

A carton with an arrow rising out of it, on a transparent ground. Run it from the repository root
to regenerate src/resources/program.ico.
"""
import struct
import sys

SIZE = 32

# The standard VGA colours, as the side picture uses them.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, OLIVE, NAVY, TEAL, YELLOW, BLUE, WHITE = 0, 1, 3, 4, 6, 11, 12, 15
CLEAR = None  # transparent

pixels = [[CLEAR] * SIZE for _ in range(SIZE)]


def fill(x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(SIZE, y1)):
        for x in range(max(0, x0), min(SIZE, x1)):
            pixels[y][x] = colour


def outline(x0, y0, x1, y1, colour):
    fill(x0, y0, x1, y0 + 1, colour)
    fill(x0, y1 - 1, x1, y1, colour)
    fill(x0, y0, x0 + 1, y1, colour)
    fill(x1 - 1, y0, x1, y1, colour)


# The carton: front, side face and open top.
fill(3, 17, 23, 31, OLIVE)
outline(3, 17, 23, 31, BLACK)
fill(12, 17, 15, 31, YELLOW)  # tape
for i in range(6):
    fill(23 + i, 16 - i, 24 + i, 30 - i, MAROON)  # the side face, drawn as slanted columns
fill(23, 30, 24, 31, BLACK)
for i in range(6):
    fill(3 + i, 16 - i, 23 + i, 17 - i, BLACK if i in (0, 5) else NAVY)  # the opening

# The arrow leaving the carton: a shaft and a head, white with a blue edge.
fill(13, 6, 18, 19, BLUE)
fill(14, 6, 17, 19, WHITE)
for row in range(7):
    fill(15 - row - 1, 1 + row, 16 + row + 1, 2 + row, BLUE)
    fill(15 - row, 1 + row, 16 + row, 2 + row, WHITE)
fill(6, 7, 26, 8, BLUE)
fill(7, 7, 25, 8, WHITE)
fill(6, 8, 26, 9, CLEAR)


def write_ico(path):
    xor = bytearray()
    mask = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up rows
        row = pixels[y]
        for x in range(0, SIZE, 2):
            high = row[x] if row[x] is not None else 0
            low = row[x + 1] if row[x + 1] is not None else 0
            xor.append((high << 4) | low)
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + palette + bytes(xor) + bytes(mask)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(header + entry + image)


write_ico(sys.argv[1] if len(sys.argv) > 1 else "src/resources/program.ico")
