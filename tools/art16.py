"""Drawing helpers for the program's 16-colour artwork (the icon and the wizard's side picture).

A picture is a list of rows of colour indexes into PALETTE; None marks a transparent pixel of an
icon. The writers produce the 4-bit BMP and ICO files that the resource script includes.
"""
import struct

# The 16 colours of the standard VGA palette, so the artwork shows the same on 16-colour displays.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, \
    AQUA, WHITE = range(16)


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def fill(pixels, x0, y0, x1, y1, colour):
    """Fills the rectangle from (x0, y0) up to but not including (x1, y1), clipped to the picture."""
    for y in range(max(0, y0), min(len(pixels), y1)):
        row = pixels[y]
        for x in range(max(0, x0), min(len(row), x1)):
            row[x] = colour


def frame(pixels, x0, y0, x1, y1, colour):
    fill(pixels, x0, y0, x1, y0 + 1, colour)
    fill(pixels, x0, y1 - 1, x1, y1, colour)
    fill(pixels, x0, y0, x0 + 1, y1, colour)
    fill(pixels, x1 - 1, y0, x1, y1, colour)


def _palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def _four_bit_rows(pixels):
    """The colour bits, bottom row first, each row padded to whole 32-bit words."""
    width = len(pixels[0])
    row_bytes = ((width + 1) // 2 + 3) & ~3
    image = bytearray()
    for row in reversed(pixels):
        packed = bytearray()
        for x in range(0, width, 2):
            high = row[x] or 0
            low = (row[x + 1] or 0) if x + 1 < width else 0
            packed.append((high << 4) | low)
        image += packed + b"\0" * (row_bytes - len(packed))
    return bytes(image)


def write_bmp(path, pixels):
    width, height = len(pixels[0]), len(pixels)
    image = _four_bit_rows(pixels)
    palette = _palette_bytes()
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(image), 2835, 2835, 16, 16)
    with open(path, "wb") as out:
        out.write(header + info + palette + image)


def write_ico(path, pixels):
    """A one-image icon; pixels that are None are transparent (set in the AND mask)."""
    size = len(pixels)
    xor = _four_bit_rows(pixels)
    mask = bytearray()
    for row in reversed(pixels):
        bits = 0
        for colour in row:
            bits = (bits << 1) | (1 if colour is None else 0)
        mask += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + _palette_bytes() + xor + bytes(mask)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(header + entry + image)
