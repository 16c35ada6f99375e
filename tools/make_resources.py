#!/usr/bin/env python3
"""Writes the binary resources that are kept in the repository.

Run from the repository root after changing this script; commit the outputs.
The build only reads the generated files, so it needs no Python.
"""
import math
import struct
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def wave(path, rate, bits, samples):
    """RIFF/WAVE PCM, mono; samples are floats in -1..1."""
    if bits == 16:
        data = b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples)
    else:
        data = bytes(max(0, min(255, int(128 + s * 127))) for s in samples)
    block = bits // 8
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * block, block, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        body += b"\0"
    path.write_bytes(b"RIFF" + struct.pack("<I", len(body)) + body)


def tick_samples():
    # 2516 bytes of 16-bit mono: a short damped 2.2 kHz click.
    n = 2516 // 2
    return [math.sin(2 * math.pi * 2200 * i / 22050) * math.exp(-i / 180.0) * 0.8 for i in range(n)]


def alarm_samples():
    # 76365 bytes of 8-bit mono at 22255 Hz: three two-tone beeps.
    rate, n = 22255, 76365
    out = []
    for i in range(n):
        t = i / rate
        phase = t % 1.1
        if phase < 0.8:
            f = 880 if (phase % 0.4) < 0.2 else 660
            env = min(1.0, phase * 40, (0.8 - phase) * 40)
            out.append(math.sin(2 * math.pi * f * t) * 0.6 * env)
        else:
            out.append(0.0)
    return out


def clock_face(size, ring, hand, face):
    """RGBA pixels (top row first) of a round clock with two hands."""
    px = []
    c = (size - 1) / 2.0
    r_out = size / 2.0 - 0.5
    r_in = r_out - max(1.0, size / 10.0)
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            if d > r_out + 0.5:
                row.append((0, 0, 0, 0))
                continue
            alpha = int(255 * max(0.0, min(1.0, r_out + 0.5 - d)))
            col = ring if d > r_in else face
            w = max(0.8, size / 20.0)
            # minute hand pointing to 12, hour hand pointing to 3
            if (abs(dx) <= w and -r_in * 0.85 <= dy <= 0) or (abs(dy) <= w and 0 <= dx <= r_in * 0.6):
                col = hand
            row.append(col + (alpha,))
        px.append(row)
    return px


def ico(path, sizes, ring, hand, face):
    images = []
    for s in sizes:
        px = clock_face(s, ring, hand, face)
        xor = b"".join(bytes((b, g, r, a)) for row in reversed(px) for (r, g, b, a) in row)
        mask_row = ((s + 31) // 32) * 4
        and_mask = b"\0" * (mask_row * s)
        header = struct.pack("<IiiHHIIiiII", 40, s, s * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
        images.append((s, header + xor + and_mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, blob in images:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    out += b"".join(blob for _, blob in images)
    path.write_bytes(out)


def bmp8(path, rows, palette):
    """Windows BMP, 8 bits per pixel with a colour table, bottom-up; rows are
    palette indices, top row first."""
    height, width = len(rows), len(rows[0])
    stride = (width + 3) & ~3
    pixels = b"".join(bytes(row) + b"\0" * (stride - width) for row in reversed(rows))
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), len(palette))
    head = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    path.write_bytes(head + info + table + pixels)


# The face turns every pixel whose channels are all within KEY_LIMIT of 0 into
# the user's background colour. Ink meant to stay must clear that by a safe
# margin; only the ghost of the unlit segments is meant to vanish.
KEY_LIMIT = 30
VISIBLE_MIN = 46
# The window's frame may hide this many columns at the right and rows at the
# bottom of every cell.
HIDDEN_EDGE = 2

BLACK, WHITE, GREY = 0, 1, 2
SMALL_PALETTE = [(0, 0, 0), (255, 255, 255), (96, 96, 96)]
SMALL_INKS = {" ": BLACK, "#": WHITE, ".": GREY}
# Rounded digits, 10 x 16 with a two-pixel stroke; '.' fills the steps of
# the outer corners so they read round at zoom 1.
SMALL_GLYPHS = [
    [" .######. ",
     ".########.",
     "###    ###",
     "##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "###    ###",
     ".########.",
     " .######. "],
    ["   .##    ",
     "  .###    ",
     " .####    ",
     " ##.##    ",
     "    ##    ",
     "    ##    ",
     "    ##    ",
     "    ##    ",
     "    ##    ",
     "    ##    ",
     "    ##    ",
     "    ##    ",
     "    ##    ",
     "    ##    ",
     " ######## ",
     " ######## "],
    [" .######. ",
     ".########.",
     "###    ###",
     "##      ##",
     "        ##",
     "        ##",
     "       ###",
     " .#######.",
     ".#######. ",
     "###       ",
     "##        ",
     "##        ",
     "##        ",
     "##        ",
     "##########",
     "##########"],
    [" .######. ",
     ".########.",
     "###    ###",
     "##      ##",
     "        ##",
     "        ##",
     "       ###",
     "   .#####.",
     "   .#####.",
     "       ###",
     "        ##",
     "        ##",
     "##      ##",
     "###    ###",
     ".########.",
     " .######. "],
    ["##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "##      ##",
     "###     ##",
     ".#########",
     " .########",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##"],
    ["##########",
     "##########",
     "##        ",
     "##        ",
     "##        ",
     "##        ",
     "###       ",
     ".#######. ",
     " .#######.",
     "       ###",
     "        ##",
     "        ##",
     "##      ##",
     "###    ###",
     ".########.",
     " .######. "],
    [" .######. ",
     ".########.",
     "###    ###",
     "##      ##",
     "##        ",
     "##        ",
     "##        ",
     "########. ",
     "#########.",
     "###    ###",
     "##      ##",
     "##      ##",
     "##      ##",
     "###    ###",
     ".########.",
     " .######. "],
    ["########. ",
     "#########.",
     "       ###",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##",
     "        ##"],
    [" .######. ",
     ".########.",
     "###    ###",
     "##      ##",
     "##      ##",
     "##      ##",
     "###    ###",
     ".########.",
     ".########.",
     "###    ###",
     "##      ##",
     "##      ##",
     "##      ##",
     "###    ###",
     ".########.",
     " .######. "],
    [" .######. ",
     ".########.",
     "###    ###",
     "##      ##",
     "##      ##",
     "##      ##",
     "###    ###",
     ".#########",
     " .########",
     "        ##",
     "        ##",
     "        ##",
     "##      ##",
     "###    ###",
     ".########.",
     " .######. "],
]
SMALL_COLON = ["##", "##", "  ", "  ", "  ", "  ", "##", "##"]
SMALL_DOT = ["##", "##"]


def cell(width, height, x, y, art, inks):
    """A background-filled cell with art (rows of ink characters) at x, y."""
    rows = [[BLACK] * width for _ in range(height)]
    for dy, line in enumerate(art):
        for dx, ch in enumerate(line):
            if inks[ch] != BLACK:
                rows[y + dy][x + dx] = inks[ch]
    return rows


def drop_shadow(rows):
    # A grey copy of the white stroke, one pixel down and right: it gives the
    # digits depth on black and keeps them legible when the user picks a
    # light background, where the white itself disappears.
    for y in range(len(rows) - 1):
        for x in range(len(rows[0]) - 1):
            if rows[y][x] == WHITE and rows[y + 1][x + 1] == BLACK:
                rows[y + 1][x + 1] = GREY
    return rows


def small_set():
    # 10 x 16 glyphs in 15 x 20 cells: two columns before, three after (the
    # shadow takes one), one row above; digits keep a five-pixel gap and the
    # colon's dots sit exactly half-way between the digits beside them.
    digits = [cell(15, 20, 2, 1, glyph, SMALL_INKS) for glyph in SMALL_GLYPHS]
    colon = cell(9, 20, 3, 5, SMALL_COLON, SMALL_INKS)
    point = cell(9, 20, 3, 15, SMALL_DOT, SMALL_INKS)
    return [drop_shadow(rows) for rows in digits + [colon, point]]


# Segments lit for 0 to 9: a top, b top right, c bottom right, d bottom,
# e bottom left, f top left, g middle.
SEGMENTS = ["abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"]
DIGIT_W, DIGIT_H, STROKE = 20, 33, 5


def segment(name):
    """Pixels of one segment in the digit box. Every segment ends in a 45
    degree point on the centre line of the one it meets; the bars stop one
    pixel short of that, so each joint shows a clean gap while the posts
    keep their full length."""
    half = (STROKE - 1) // 2
    left, right = half, DIGIT_W - 1 - half
    top, middle, bottom = half, (DIGIT_H - 1) // 2, DIGIT_H - 1 - half
    bars = {"a": top, "g": middle, "d": bottom}
    posts = {"f": (left, top, middle), "b": (right, top, middle),
             "e": (left, middle, bottom), "c": (right, middle, bottom)}
    pixels = set()
    for y in range(DIGIT_H):
        for x in range(DIGIT_W):
            if name in bars:
                across, along, lo, hi, gap = abs(y - bars[name]), x, left, right, 1
            else:
                centre, lo, hi = posts[name]
                across, along, gap = abs(x - centre), y, 0
            if across <= half and min(along - lo, hi - along) - across > gap:
                pixels.add((x, y))
    return pixels


GHOST, RED = 1, 2
# The ghost is the unlit segment seen through a red filter; it stays under
# the colour key, so it shows only on black.
DIGITAL_PALETTE = [(0, 0, 0), (26, 0, 0), (255, 40, 32)]
DIGITAL_DOT = [" ### ",
               "#####",
               "#####",
               "#####",
               " ### "]


def digital_set():
    # 20 x 33 digits in 24 x 37 cells, two pixels of margin on every side.
    # The colon's dots are as wide as a stroke and centred in the two
    # openings of the digits; the point sits on their baseline.
    shapes = {name: segment(name) for name in "abcdefg"}
    cells = []
    for lit in SEGMENTS:
        rows = [[BLACK] * 24 for _ in range(37)]
        for name, pixels in shapes.items():
            for (x, y) in pixels:
                rows[2 + y][2 + x] = RED if name in lit else GHOST
        cells.append(rows)
    dot = {" ": BLACK, "#": RED}
    upper, lower = 2 + 7, 2 + DIGIT_H - 7 - 5
    colon = cell(9, 37, 2, upper, DIGITAL_DOT + [""] * (lower - upper - 5) + DIGITAL_DOT, dot)
    point = cell(9, 37, 2, 2 + DIGIT_H - 5, DIGITAL_DOT, dot)
    return cells + [colon, point]


def check_cell(name, rows, palette, vanishing):
    """Stops the run when a cell breaks what the face relies on."""
    for index, colour in enumerate(palette):
        if index == BLACK:
            assert colour == (0, 0, 0), name
        elif index in vanishing:
            assert max(colour) <= KEY_LIMIT, (name, colour)
        else:
            assert max(colour) >= VISIBLE_MIN, (name, colour)
    height, width = len(rows), len(rows[0])
    for y in range(height):
        for x in range(width):
            if x >= width - HIDDEN_EDGE or y >= height - HIDDEN_EDGE:
                assert rows[y][x] == BLACK, (name, x, y)


def digits(res):
    """The two digit sets and the resource lines that name them."""
    folder = res / "digits"
    folder.mkdir(exist_ok=True)
    names = [str(n) for n in range(10)] + ["colon", "point"]
    lines = ["// Digit bitmaps of the face; generated by tools/make_resources.py, edit that."]
    for prefix, first, cells, palette, vanishing in (
            ("small", 300, small_set(), SMALL_PALETTE, ()),
            ("digital", 320, digital_set(), DIGITAL_PALETTE, (GHOST,))):
        for offset, (name, rows) in enumerate(zip(names, cells)):
            file = "%s_%s.bmp" % (prefix, name)
            check_cell(file, rows, palette, vanishing)
            bmp8(folder / file, rows, palette)
            lines.append('%d BITMAP "digits/%s"' % (first + offset, file))
    (res / "Digits.rc").write_text("\n".join(lines) + "\n")


def main():
    res = ROOT / "app" / "res"
    wave(res / "tick.wav", 22050, 16, tick_samples())
    wave(res / "alarm.wav", 22255, 8, alarm_samples())
    ico(res / "Tempulo.ico", [16, 24, 32, 48, 64], (200, 30, 30), (20, 20, 20), (250, 250, 245))
    ico(ROOT / "lib" / "res" / "PictavoLib.ico", [16, 20, 24, 32, 40, 48, 64, 96, 128],
        (30, 80, 190), (20, 20, 20), (240, 245, 255))
    digits(res)
    return 0


if __name__ == "__main__":
    sys.exit(main())
