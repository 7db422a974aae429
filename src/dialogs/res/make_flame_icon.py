#!/usr/bin/env python3
"""Draws the program's flame icon at the sizes Windows asks for and writes one
RGBA PAM per size; ImageMagick joins them into flame.ico:

    python3 make_flame_icon.py && convert flame-*.pam flame.ico && rm flame-*.pam
"""
import math

SIZES = (256, 48, 32, 24, 16)
SAMPLES = 4  # per axis, for anti-aliased edges

# Heat 0..1 to colour: deep red at the rim, orange, yellow, white-hot core.
STOPS = [(0.0, (150, 20, 0)), (0.35, (230, 70, 0)), (0.6, (255, 150, 10)),
         (0.85, (255, 225, 80)), (1.0, (255, 250, 220))]


def colour(h):
    h = max(0.0, min(1.0, h))
    for (h0, c0), (h1, c1) in zip(STOPS, STOPS[1:]):
        if h <= h1:
            f = (h - h0) / (h1 - h0)
            return tuple(a + (b - a) * f for a, b in zip(c0, c1))
    return STOPS[-1][1]


def radius(t, scale):
    # t runs from the tip (0) to the base (1): pointed tip, widest low, round base.
    if t <= 0.0 or t >= 1.0:
        return 0.0
    return scale * math.sqrt(max(0.0, math.sin(math.pi * t ** 2.2)))


def centre(t):
    # The tip leans a little, as a flame in a draught does.
    return 0.22 * (1.0 - t) ** 2.5


def sample(u, v):
    """u in -1..1 (left to right), v in 0..1 (top to bottom): (heat, inside)."""
    t = v
    outer = radius(t, 0.78)
    d = abs(u - centre(t))
    if outer <= 0.0 or d >= outer:
        return 0.0, False
    # Inner flame: smaller, its tip lower, so the core sits in the lower half.
    ti = (v - 0.3) / 0.68
    heat = 0.45 * (1.0 - d / outer)
    if 0.0 < ti < 1.0:
        inner = radius(ti, 0.42)
        di = abs(u - centre(t) * 0.6)
        if inner > 0.0 and di < inner:
            heat = max(heat, 0.55 + 0.45 * (1.0 - di / inner) * (0.4 + 0.6 * ti))
    return heat, True


def draw(size):
    rows = []
    margin = 0.04
    for y in range(size):
        row = bytearray()
        for x in range(size):
            r = g = b = cover = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px = (x + (sx + 0.5) / SAMPLES) / size
                    py = (y + (sy + 0.5) / SAMPLES) / size
                    u = (px - 0.5) * 2.0
                    v = (py - margin) / (1.0 - 2 * margin)
                    heat, inside = sample(u, v)
                    if inside:
                        c = colour(heat)
                        r += c[0]; g += c[1]; b += c[2]; cover += 1
            n = SAMPLES * SAMPLES
            if cover:
                row += bytes((int(r / cover), int(g / cover), int(b / cover), int(255 * cover / n)))
            else:
                row += bytes((0, 0, 0, 0))
        rows.append(bytes(row))
    header = (f"P7\nWIDTH {size}\nHEIGHT {size}\nDEPTH 4\nMAXVAL 255\n"
              f"TUPLTYPE RGB_ALPHA\nENDHDR\n").encode()
    with open(f"flame-{size:03d}.pam", "wb") as out:
        out.write(header + b"".join(rows))


for s in SIZES:
    draw(s)
