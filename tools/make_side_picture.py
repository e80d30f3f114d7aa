#!/usr/bin/env python3
"""Draws the wizard's side picture: 122 x 262 pixels, 16 colours, written as a 4-bit BMP.

An open carton on a night-blue field, with three items lifting out of it along a dotted arc: the
picture of an uninstall. Run it from the repository root to regenerate src/resources/side.bmp.
"""
import functools
import sys

from art16 import AQUA, BLACK, BLUE, GREEN, GREY, LIME, MAROON, NAVY, OLIVE, SILVER, TEAL, WHITE, \
    YELLOW, canvas, write_bmp
import art16

WIDTH, HEIGHT = 122, 262

pixels = canvas(WIDTH, HEIGHT, NAVY)
fill = functools.partial(art16.fill, pixels)
frame = functools.partial(art16.frame, pixels)


def polygon(points, colour):
    """Fills a convex polygon by scanlines."""
    ys = [p[1] for p in points]
    for y in range(min(ys), max(ys) + 1):
        xs = []
        for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
            if ya == yb:
                continue
            if min(ya, yb) <= y < max(ya, yb):
                xs.append(xa + (y - ya) * (xb - xa) / (yb - ya))
        if len(xs) >= 2:
            fill(int(round(min(xs))), y, int(round(max(xs))) + 1, y + 1, colour)


# A dithered band of blue at the top fading into the navy field.
for y in range(0, 150):
    for x in range(WIDTH):
        step = y // 15
        if (x + y) % (step + 2) == 0:
            pixels[y][x] = BLUE

# Stars.
for x, y in [(14, 20), (40, 48), (96, 16), (108, 70), (70, 34), (22, 96), (88, 110), (10, 140)]:
    fill(x, y, x + 1, y + 1, WHITE)
    fill(x - 1, y, x, y + 1, SILVER)
    fill(x + 1, y, x + 2, y + 1, SILVER)

# Ground.
fill(0, 236, WIDTH, HEIGHT, TEAL)
for x in range(0, WIDTH, 4):
    fill(x, 236, x + 2, 237, AQUA)

# The carton: front, side, inner back and flaps.
polygon([(22, 186), (82, 186), (82, 236), (22, 236)], OLIVE)
polygon([(82, 186), (102, 174), (102, 222), (82, 236)], MAROON)
polygon([(22, 186), (42, 174), (102, 174), (82, 186)], BLACK)
polygon([(22, 186), (6, 168), (30, 160), (42, 174)], YELLOW)
polygon([(82, 186), (102, 174), (116, 154), (96, 166)], YELLOW)
frame(22, 186, 83, 237, BLACK)
fill(30, 200, 74, 204, YELLOW)  # tape
fill(48, 186, 56, 236, YELLOW)

# Items lifting out along an arc: a document, a disk and a gear-like square.
def document(x, y):
    fill(x, y, x + 18, y + 24, WHITE)
    frame(x, y, x + 18, y + 24, GREY)
    for row in range(5):
        fill(x + 3, y + 5 + row * 4, x + 15, y + 6 + row * 4, GREY)
    fill(x + 12, y, x + 18, y + 6, SILVER)


def disk(x, y):
    fill(x, y, x + 22, y + 22, BLUE)
    frame(x, y, x + 22, y + 22, BLACK)
    fill(x + 5, y + 1, x + 17, y + 8, SILVER)
    fill(x + 12, y + 2, x + 15, y + 7, NAVY)
    fill(x + 4, y + 12, x + 18, y + 21, WHITE)
    fill(x + 6, y + 15, x + 16, y + 16, GREY)


def block(x, y):
    fill(x, y, x + 16, y + 16, LIME)
    frame(x, y, x + 16, y + 16, GREEN)
    fill(x + 5, y + 5, x + 11, y + 11, GREEN)


document(50, 130)
disk(62, 84)
block(40, 44)

# The dotted arc the items travel along.
for x, y in [(58, 170), (60, 162), (62, 156), (70, 120), (72, 114), (68, 76), (62, 70), (56, 64)]:
    fill(x, y, x + 2, y + 2, AQUA)


write_bmp(sys.argv[1] if len(sys.argv) > 1 else "src/resources/side.bmp", pixels)
