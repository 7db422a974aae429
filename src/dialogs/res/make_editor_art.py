#!/usr/bin/env python3
"""Draws the palette editor's artwork and writes it where the resource script
finds it:

    python3 make_editor_art.py

curve_backdrop.bmp  the 320 x 352 backdrop of the curve editor (24-bit): the
                    curve area (window x 32..287, rows 33..288) with its grid,
                    axes and tick labels, a legend, and the frame of the
                    256 x 20 colour strip below it (window x 30..285, rows
                    310..329) with its cold and hot ends named.
cursor_point.cur    over a control point: four-way move arrows, hot spot (15, 16)
cursor_curve.cur    over a curve: an arrow pointing up at a curve, hot spot (12, 1)
cursor_arrow.cur    elsewhere: the plain arrow, hot spot (0, 0)

The editor shows its back buffer upside down (curve y grows upward): back
buffer row r lands on window row 352 - r, so window row w needs bitmap row
352 - w. A bottom-up BMP stores bitmap row 351 first, so the file holds window
rows 1 to 351 in reading order and then one row of panel colour for bitmap row
0, which falls below the window (the editor paints window row 0 itself).
Nothing here depends on anything outside the standard library.
"""
import struct

W, H = 320, 352
AREA_X, AREA_TOP, AREA = 32, 33, 256          # curve area, window coordinates
STRIP_X, STRIP_TOP, STRIP_W, STRIP_H = 30, 310, 256, 20

PANEL = (0xD0, 0xD0, 0xD0)
PAPER = (0xFB, 0xFA, 0xF6)
MINOR = (0xEA, 0xE8, 0xE2)
MAJOR = (0xC9, 0xC6, 0xBE)
DIAGONAL = (0xDD, 0xDA, 0xD2)
FRAME = (0x55, 0x57, 0x5C)
INK = (0x2E, 0x30, 0x34)
SOFT_INK = (0x6A, 0x6C, 0x70)
LIGHT = (0xF2, 0xF2, 0xF2)
SHADE = (0xA4, 0xA4, 0xA4)

# A 5 x 7 font, enough for the labels.
FONT = {
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "3": ["11111", "00010", "00100", "00010", "00001", "10001", "01110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11100", "10010", "10001", "10001", "10001", "10010", "11100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "N": ["10001", "10001", "11001", "10101", "10011", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    " ": ["00000"] * 7,
    "<": ["00010", "00100", "01000", "10000", "01000", "00100", "00010"],
    ">": ["01000", "00100", "00010", "00001", "00010", "00100", "01000"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
}


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.px = [[fill] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def hline(self, x0, x1, y, c):
        self.rect(x0, y, x1, y, c)

    def vline(self, x, y0, y1, c):
        self.rect(x, y0, x, y1, c)

    def text(self, x, y, s, c):
        for ch in s:
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        self.put(x + col, y + row, c)
            x += 6

    def text_up(self, x, y, s, c):
        """Text turned a quarter left, read bottom to top, starting at (x, y)."""
        for ch in s:
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        self.put(x + row, y - col, c)
            y -= 6


def text_width(s):
    return 6 * len(s) - 1


def backdrop():
    cv = Canvas(W, H, PANEL)
    left, right = AREA_X, AREA_X + AREA - 1
    top, bottom = AREA_TOP, AREA_TOP + AREA - 1

    # A sunken well around the curve area, then the paper and its grid.
    cv.rect(left - 2, top - 2, right + 2, bottom + 2, SHADE)
    cv.hline(left - 2, right + 2, bottom + 2, LIGHT)
    cv.vline(right + 2, top - 2, bottom + 2, LIGHT)
    cv.rect(left - 1, top - 1, right + 1, bottom + 1, FRAME)
    cv.rect(left, top, right, bottom, PAPER)
    for v in range(16, 256, 16):
        colour = MAJOR if v % 64 == 0 else MINOR
        cv.vline(left + v, top, bottom, colour)
        cv.hline(left, right, bottom - v, colour)
    # The identity line, faint: a channel that follows it rises evenly.
    for v in range(0, 256, 2):
        cv.put(left + v, bottom - v, DIAGONAL)

    # Ticks and numbers: x along the bottom, y up the left side.
    for v, label in ((0, "0"), (64, "64"), (128, "128"), (192, "192"), (255, "255")):
        cv.vline(left + v, bottom + 3, bottom + 5, FRAME)
        lx = left + v - text_width(label) // 2
        lx = max(2, min(lx, W - 2 - text_width(label)))
        cv.text(lx, bottom + 7, label, SOFT_INK)
        cv.hline(left - 5, left - 3, bottom - v, FRAME)
        cv.text(left - 6 - text_width(label), bottom - v - 3, label, SOFT_INK)

    # The vertical axis's name beside its numbers; the horizontal one's is
    # under the colour strip, which runs along the same index.
    cv.text_up(2, top + 160, "INTENSITY", INK)

    # Legend, right-aligned above the area: one swatch per channel.
    x = right - (3 * 10 + text_width("RED") + text_width("GREEN") + text_width("BLUE") + 2 * 10)
    for name, colour in (("RED", (0xFF, 0, 0)), ("GREEN", (0, 0xC8, 0)), ("BLUE", (0, 0, 0xFF))):
        cv.rect(x, 14, x + 6, 20, colour)
        cv.text(x + 9, 14, name, INK)
        x += 9 + text_width(name) + 10
    cv.text(left, 14, "PALETTE CURVES", INK)

    # The colour strip's frame; the editor draws the strip inside it.
    sx0, sx1 = STRIP_X, STRIP_X + STRIP_W - 1
    sy0, sy1 = STRIP_TOP, STRIP_TOP + STRIP_H - 1
    cv.rect(sx0 - 2, sy0 - 2, sx1 + 2, sy1 + 2, SHADE)
    cv.hline(sx0 - 2, sx1 + 2, sy1 + 2, LIGHT)
    cv.vline(sx1 + 2, sy0 - 2, sy1 + 2, LIGHT)
    cv.rect(sx0 - 1, sy0 - 1, sx1 + 1, sy1 + 1, FRAME)
    cv.rect(sx0, sy0, sx1, sy1, (0, 0, 0))
    cv.text(sx0, sy1 + 5, "COLD", SOFT_INK)
    cv.text(sx1 + 1 - text_width("HOT"), sy1 + 5, "HOT", SOFT_INK)
    label = "<- INDEX ->"
    cv.text((sx0 + sx1 + 1 - text_width(label)) // 2, sy1 + 5, label, INK)
    return cv


def write_bmp(path, cv):
    stride = (cv.width * 3 + 3) & ~3
    image = bytearray()
    # Bottom-up storage: bitmap rows 351 down to 0 are window rows 1 to 352.
    for row in cv.px[1:] + [[PANEL] * cv.width]:
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        image += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, cv.width, cv.height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + image)


# Cursors: '#' black, 'o' white, anything else transparent; 32 x 32.
def write_cursor(path, rows, hot_x, hot_y):
    size = 32
    grid = [row.ljust(size, ".") for row in rows] + ["." * size] * (size - len(rows))
    colour = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up
        bits = 0
        for x in range(size):
            ch = grid[y][x]
            if ch == "#":
                colour += bytes((0, 0, 0, 255))
            elif ch == "o":
                colour += bytes((255, 255, 255, 255))
            else:
                colour += bytes((0, 0, 0, 0))
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    image = info + colour + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, hot_x, hot_y, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(directory + entry + image)


ARROW = [
    "#",
    "##",
    "#o#",
    "#oo#",
    "#ooo#",
    "#oooo#",
    "#ooooo#",
    "#oooooo#",
    "#ooooooo#",
    "#oooooooo#",
    "#ooooo#####",
    "#oo#oo#",
    "#o# #oo#",
    "##  #oo#",
    "#    #oo#",
    "     #oo#",
    "      ##",
]

# Tip at (12, 1): an arrow pointing up at the curve drawn beneath its tip.
CURVE = [
    "",
    "            #",
    "           #o#",
    "          #ooo#",
    "         #ooooo#",
    "        #ooooooo#",
    "       #ooooooooo#",
    "       #####o#####",
    "           #o#",
    "           #o#",
    "           #o#",
    "           #o#",
    "           #o#",
    "           ###",
    "",
    "    ####             ",
    "   #oooo#        ####",
    "  #oo##oo#      #oooo#",
    " #oo#  #oo#    #oo##oo#",
    " #o#    #oo#  #oo#  ###",
    " ###     #oo##oo#",
    "          #oooo#",
    "           ####",
]

# Centre (15, 16): four arrows around a small square, for moving a point.
POINT = [
    "",
    "",
    "",
    "               #",
    "              #o#",
    "             #ooo#",
    "            #ooooo#",
    "           ####o####",
    "              #o#",
    "              #o#",
    "        ##    #o#    ##",
    "       #o#    #o#    #o#",
    "      #oo#    #o#    #oo#",
    "     #ooo######o######ooo#",
    "    #oooooooo#####oooooooo#",
    "   #ooooooooo#ooo#ooooooooo#",
    "    #oooooooo#ooo#oooooooo#",
    "     #ooo######o######ooo#",
    "      #oo#    #o#    #oo#",
    "       #o#    #o#    #o#",
    "        ##    #o#    ##",
    "              #o#",
    "              #o#",
    "           ####o####",
    "            #ooooo#",
    "             #ooo#",
    "              #o#",
    "               #",
]

if __name__ == "__main__":
    write_bmp("curve_backdrop.bmp", backdrop())
    write_cursor("cursor_arrow.cur", ARROW, 0, 0)
    write_cursor("cursor_curve.cur", CURVE, 12, 1)
    write_cursor("cursor_point.cur", POINT, 15, 16)
