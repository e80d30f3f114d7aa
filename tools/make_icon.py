#!/usr/bin/env python3
"""Draws the program's icon: 32 x 32 pixels, 16 colours, written as a .ico file.

A carton with an arrow rising out of it, on a transparent ground. Run it from the repository root
to regenerate src/resources/program.ico.
"""
import functools
import sys

from art16 import BLACK, BLUE, MAROON, NAVY, OLIVE, WHITE, YELLOW, canvas, write_ico
import art16

SIZE = 32
CLEAR = None  # transparent

pixels = canvas(SIZE, SIZE, CLEAR)
fill = functools.partial(art16.fill, pixels)
outline = functools.partial(art16.frame, pixels)


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


write_ico(sys.argv[1] if len(sys.argv) > 1 else "src/resources/program.ico", pixels)
