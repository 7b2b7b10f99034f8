#!/usr/bin/env python3
"""Draws the utilities' pictures as 24-bit BMP files: the link parser's node picture,
the tip dialog's light bulb and the tab editors' unsaved and read-only marks.
Run it from this folder to remake the files; they are committed, so the build needs
no Python."""
import struct

MAGENTA = (255, 0, 255)  # the key colour of the transparent tip picture


def write_bmp(name, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # BMP rows run bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(name + '.bmp', 'wb') as f:
        f.write(header + info + pixels)


def picture(pattern, colours):
    return [[colours[c] for c in line] for line in pattern]


# A chain link: two interlocked blue rings on white.
QVLINK = [
    "................",
    "................",
    "....bbbb........",
    "...b....b.......",
    "..b......b......",
    "..b...bbbbbb....",
    "..b..b...b..b...",
    "...b.b..b...b...",
    "....bbbb....b...",
    "......b....b....",
    ".......bbbbb....",
    "................",
    "................",
    "................",
    "................",
    "................",
]

# A light bulb with a yellow glass and a grey screw base, on the key colour.
TIPBMP = [
    "mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm",
    "mmmmmmmmmmmmkkkkkkkkmmmmmmmmmmmm",
    "mmmmmmmmmmkkyyyyyyyykkmmmmmmmmmm",
    "mmmmmmmmmkyyyywwwyyyyykmmmmmmmmm",
    "mmmmmmmmkyyyywwyyyyyyyykmmmmmmmm",
    "mmmmmmmkyyyywwyyyyyyyyyykmmmmmmm",
    "mmmmmmmkyyywwyyyyyyyyyyykmmmmmmm",
    "mmmmmmkyyyywyyyyyyyyyyyyykmmmmmm",
    "mmmmmmkyyyywyyyyyyyyyyyyykmmmmmm",
    "mmmmmmkyyyyyyyyyyyyyyyyyykmmmmmm",
    "mmmmmmkyyyyyyyyyyyyyyyyyykmmmmmm",
    "mmmmmmkyyyyyyyyyyyyyyyyyykmmmmmm",
    "mmmmmmmkyyyyyyyyyyyyyyyykmmmmmmm",
    "mmmmmmmkyyyyyyyyyyyyyyyykmmmmmmm",
    "mmmmmmmmkyyyyyyyyyyyyyykmmmmmmmm",
    "mmmmmmmmmkyyyyyyyyyyyykmmmmmmmmm",
    "mmmmmmmmmmkyyyyyyyyyykmmmmmmmmmm",
    "mmmmmmmmmmkyyyyyyyyyykmmmmmmmmmm",
    "mmmmmmmmmmkkkkkkkkkkkkmmmmmmmmmm",
    "mmmmmmmmmmkggggggggggkmmmmmmmmmm",
    "mmmmmmmmmmkddddddddddkmmmmmmmmmm",
    "mmmmmmmmmmkggggggggggkmmmmmmmmmm",
    "mmmmmmmmmmkddddddddddkmmmmmmmmmm",
    "mmmmmmmmmmmkggggggggkmmmmmmmmmmm",
    "mmmmmmmmmmmmkkkkkkkkmmmmmmmmmmmm",
    "mmmmmmmmmmmmmmkkkkmmmmmmmmmmmmmm",
    "mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm",
    "mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm",
    "mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm",
    "mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm",
    "mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm",
    "mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm",
]

# 8 x 8 tab marks: a filled disc (unsaved) and a padlock (read-only). The memo's are
# red and dark green, the rich-text editor's orange and purple, so each is its own.
DISC = [
    "..cccc..",
    ".cccccc.",
    "cccccccc",
    "cccccccc",
    "cccccccc",
    "cccccccc",
    ".cccccc.",
    "..cccc..",
]
LOCK = [
    "..cccc..",
    ".c....c.",
    ".c....c.",
    "cccccccc",
    "cccccccc",
    "ccc..ccc",
    "cccccccc",
    "cccccccc",
]

WHITE = (255, 255, 255)
write_bmp('QVLINK', picture(QVLINK, {'.': WHITE, 'b': (0, 0, 192)}))
write_bmp('TIPBMP', picture(TIPBMP, {'m': MAGENTA, 'k': (0, 0, 0), 'y': (255, 240, 0), 'w': WHITE,
                                     'g': (160, 160, 160), 'd': (96, 96, 96)}))
for name, shape, colour in (('MEMONOTSAVED', DISC, (220, 0, 0)), ('MEMOREADONLY', LOCK, (0, 110, 0)),
                            ('RICHNOTSAVED', DISC, (255, 128, 0)), ('RICHREADONLY', LOCK, (128, 0, 160))):
    write_bmp(name, picture(shape, {'.': WHITE, 'c': colour}))
