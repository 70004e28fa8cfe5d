#!/usr/bin/env python3
"""Draws the program's icon (a clock face over a page, 16, 32 and 48 pixels, 256 colours) and the
label's pointing-hand cursor (32 x 32, monochrome, hot spot at the fingertip), and writes them as
the resource compiler takes them. Pure Python 3, no packages: the same input gives the same bytes.

Usage: make-icon.py OUTPUT_DIR
Writes Timrose.ico (all three sizes), Timrose-16.dib, Timrose-32.dib, Timrose-48.dib (the single
images for RT_ICON 30001..30003), Timrose.icongroup (the RT_GROUP_ICON record naming them) and
Hand.cur.
"""
import math
import os
import struct
import sys

ICON_SIZES = (16, 32, 48)
FIRST_ICON_ID = 30001
HAND_HOT_SPOT = (5, 0)
SUBSAMPLES = 4


def palette():
    """216 colours of a 6x6x6 cube, then 40 greys: a fixed, ordinary 256-colour palette."""
    colours = []
    for r in range(6):
        for g in range(6):
            for b in range(6):
                colours.append((r * 51, g * 51, b * 51))
    for i in range(40):
        v = round(i * 255 / 39)
        colours.append((v, v, v))
    return colours


PALETTE = palette()
_nearest_cache = {}


def nearest(colour):
    hit = _nearest_cache.get(colour)
    if hit is None:
        r, g, b = colour
        hit = min(range(len(PALETTE)),
                  key=lambda i: (PALETTE[i][0] - r) ** 2 + (PALETTE[i][1] - g) ** 2 + (PALETTE[i][2] - b) ** 2)
        _nearest_cache[colour] = hit
    return hit


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


# The drawing, in units of the icon's width (0..1, y downwards).
PAGE = (0.08, 0.03, 0.66, 0.88)  # left, top, right, bottom
FOLD = 0.17
CLOCK_X, CLOCK_Y, CLOCK_R = 0.63, 0.63, 0.35

PAPER = (252, 252, 246)
PAGE_EDGE = (96, 104, 120)
FOLD_FILL = (208, 212, 220)
TEXT_LINE = (150, 170, 205)
RIM = (24, 84, 170)
FACE = (255, 248, 220)
TICK = (40, 48, 64)
HAND = (30, 30, 36)
SECOND = (210, 30, 30)


def inside_page(x, y, inset):
    left, top, right, bottom = PAGE
    if not (left + inset <= x <= right - inset and top + inset <= y <= bottom - inset):
        return False
    # The top right corner is folded down: cut along the diagonal.
    return (right - x) + (y - top) >= FOLD + inset * math.sqrt(2)


def inside_fold(x, y):
    left, top, right, bottom = PAGE
    return right - FOLD <= x <= right and top <= y <= top + FOLD and (x - (right - FOLD)) <= (y - top)


def sample(x, y, pixel):
    """The colour at a point, or None where the icon is transparent."""
    colour = None
    if inside_page(x, y, 0):
        colour = PAGE_EDGE if not inside_page(x, y, pixel) else PAPER
        left, top, right, _ = PAGE
        for row in (0.22, 0.32, 0.42, 0.52):
            if abs(y - row) <= max(pixel * 0.6, 0.018) and left + 0.08 <= x <= right - 0.12:
                colour = TEXT_LINE
    if inside_fold(x, y):
        right, top = PAGE[2], PAGE[1]
        on_edge = abs((x - (right - FOLD)) - (y - top)) <= pixel * 0.8 or right - x <= pixel or y - top >= FOLD - pixel
        colour = PAGE_EDGE if on_edge else FOLD_FILL

    d = math.hypot(x - CLOCK_X, y - CLOCK_Y)
    if d <= CLOCK_R:
        rim = max(0.075, 1.6 * pixel)
        if d > CLOCK_R - rim:
            return RIM
        colour = FACE
        inner = CLOCK_R - rim
        for hour in range(12 if pixel < 0.05 else 0):
            angle = math.radians(hour * 30)
            length = 0.07 if hour % 3 == 0 else 0.035
            if length < pixel * 1.5 and hour % 3:
                continue
            ax = CLOCK_X + math.sin(angle) * (inner - 0.015)
            ay = CLOCK_Y - math.cos(angle) * (inner - 0.015)
            bx = CLOCK_X + math.sin(angle) * (inner - 0.015 - length)
            by = CLOCK_Y - math.cos(angle) * (inner - 0.015 - length)
            if segment_distance(x, y, ax, ay, bx, by) <= max(0.018, pixel * 0.5):
                colour = TICK
        # Ten past ten, the friendly face of clocks.
        hands = ((math.radians(-60), inner * 0.55, max(0.035, pixel * 0.75), HAND),
                 (math.radians(60), inner * 0.85, max(0.025, pixel * 0.6), HAND))
        for angle, length, width, hand_colour in hands:
            bx = CLOCK_X + math.sin(angle) * length
            by = CLOCK_Y - math.cos(angle) * length
            if segment_distance(x, y, CLOCK_X, CLOCK_Y, bx, by) <= width:
                colour = hand_colour
        if pixel < 0.04:
            angle = math.radians(168)
            bx = CLOCK_X + math.sin(angle) * inner * 0.9
            by = CLOCK_Y - math.cos(angle) * inner * 0.9
            if segment_distance(x, y, CLOCK_X, CLOCK_Y, bx, by) <= pixel * 0.45:
                colour = SECOND
        if pixel < 0.05 and d <= max(0.04, pixel):
            colour = SECOND
    return colour


def render(size):
    """Rows top-down of (palette index or None for transparent)."""
    pixel = 1.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    x = (px + (sx + 0.5) / SUBSAMPLES) * pixel
                    y = (py + (sy + 0.5) / SUBSAMPLES) * pixel
                    c = sample(x, y, pixel)
                    if c is not None:
                        hits.append(c)
            if len(hits) * 2 < SUBSAMPLES * SUBSAMPLES:
                row.append(None)
            else:
                n = len(hits)
                avg = tuple(round(sum(c[i] for c in hits) / n) for i in range(3))
                row.append(nearest(avg))
        rows.append(row)
    return rows


def mask_rows(rows, size):
    """The AND mask, bottom-up, 1 where transparent, rows padded to 32 bits."""
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, v in enumerate(row):
            if v is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def icon_dib(size):
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    stride = ((size + 3) // 4) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, v in enumerate(row):
            line[x] = 0 if v is None else v
        pixels += line
    return header + colours + bytes(pixels) + mask_rows(rows, size)


def hand_shape():
    """The pointing hand as sets of outline and fill pixels on a 32 x 32 grid (x, y)."""
    shape = set()

    def rect(x0, y0, x1, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                shape.add((x, y))

    rect(4, 0, 6, 0)      # fingertip; the hot spot (5, 0) is its middle
    rect(3, 1, 7, 15)     # the pointing finger
    rect(7, 7, 11, 15)    # the curled fingers, each a little lower
    rect(11, 8, 15, 15)
    rect(15, 10, 19, 16)
    rect(0, 13, 3, 18)    # the thumb, resting against the palm
    rect(1, 19, 3, 20)
    rect(3, 15, 19, 24)   # the palm
    rect(4, 25, 18, 26)
    rect(6, 27, 17, 31)   # the cuff
    outline = set()
    for (x, y) in shape:
        if any((x + dx, y + dy) not in shape for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
            outline.add((x, y))
    # Creases between the curled fingers and across the cuff.
    for x, y0, y1 in ((7, 8, 12), (11, 9, 13), (15, 11, 14)):
        for y in range(y0, y1 + 1):
            outline.add((x, y))
    for x in range(6, 18):
        outline.add((x, 27))
    return shape, outline


def cursor_file():
    shape, outline = hand_shape()
    assert HAND_HOT_SPOT in outline
    size = 32
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    colours = struct.pack('<BBBB', 0, 0, 0, 0) + struct.pack('<BBBB', 255, 255, 255, 0)
    xor = bytearray()
    andmask = bytearray()
    for y in reversed(range(size)):
        xrow = bytearray(4)
        arow = bytearray(4)
        for x in range(size):
            bit = 0x80 >> (x % 8)
            if (x, y) not in shape:
                arow[x // 8] |= bit          # transparent
            elif (x, y) not in outline:
                xrow[x // 8] |= bit          # white fill; the outline stays black
        xor += xrow
        andmask += arow
    image = header + colours + bytes(xor) + bytes(andmask)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', size, size, 2, 0, HAND_HOT_SPOT[0], HAND_HOT_SPOT[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    images = [icon_dib(size) for size in ICON_SIZES]

    def write(name, data):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)

    for size, image in zip(ICON_SIZES, images):
        write('Timrose-%d.dib' % size, image)
    group = struct.pack('<HHH', 0, 1, len(images))
    ico = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for i, (size, image) in enumerate(zip(ICON_SIZES, images)):
        group += struct.pack('<BBBBHHIH', size, size, 0, 0, 1, 8, len(image), FIRST_ICON_ID + i)
        ico += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 8, len(image), offset)
        offset += len(image)
    write('Timrose.icongroup', group)
    write('Timrose.ico', ico + b''.join(images))
    write('Hand.cur', cursor_file())


if __name__ == '__main__':
    main()
