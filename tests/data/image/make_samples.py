#!/usr/bin/env python3
"""Writes the golden sample pictures and their reference decodes.

Most samples are written by ImageMagick's `convert`; the Targa variants it cannot
write (16-bit, top-down, and the footer it leaves out) are re-encoded here from
its files. Every reference (NAME.ppm, and NAME.alpha.pgm for pictures with alpha)
is ImageMagick's own decode of the finished sample, never ours.
Run from anywhere: python3 make_samples.py  (needs python3 and convert)
"""
import os
import struct
import subprocess

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "golden")
W, H = 7, 5  # width differs from height; 7 * 3 = 21 bytes makes padded rows


def run(*args):
    subprocess.run(["convert", *args], check=True)


def source():
    px = bytearray()
    for y in range(H):
        for x in range(W):
            px += bytes([(x * 37 + y * 11) % 256, (x * 13 + y * 71) % 256, (x * y * 29 + 40) % 256])
    path = os.path.join(OUT, "source.tmp.ppm")
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (W, H) + px)
    return path


FOOTER = struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\0"


def tga_rle(pixels, size):
    """Packets that deliberately run on from one row into the next."""
    out = bytearray()
    n = len(pixels) // size
    at = [pixels[i * size:(i + 1) * size] for i in range(n)]
    i = 0
    while i < n:
        run = 1
        while i + run < n and run < 128 and at[i + run] == at[i]:
            run += 1
        if run > 1:
            out += bytes([127 + run]) + at[i]
            i += run
            continue
        lit = 1
        while i + lit < n and lit < 128 and at[i + lit] != at[i + lit - 1]:
            lit += 1
        out += bytes([lit - 1]) + b"".join(at[i:i + lit])
        i += lit
    return out


def parse_tga(data):
    idlen, maptype, itype = data[0], data[1], data[2]
    first, length, entry = struct.unpack_from("<HHB", data, 3)
    width, height, depth, desc = struct.unpack_from("<HHBB", data, 12)
    mapbytes = length * ((entry + 7) // 8) if maptype else 0
    head = data[:18]
    cmap = data[18 + idlen:18 + idlen + mapbytes]
    body = data[18 + idlen + mapbytes:]
    size = depth // 8
    assert itype in (1, 2, 3), "re-encoding starts from raw files"
    rows = [body[r * width * size:(r + 1) * width * size] for r in range(height)]
    return head, cmap, rows, size


def write_tga(name, head, cmap, rows, size, rle, top_down, depth=None):
    head = bytearray(head)
    head[0] = 0
    if rle:
        head[2] |= 8
    if depth:
        head[16] = depth
    head[17] = (head[17] & ~0x20) | (0x20 if top_down else 0)
    if top_down:
        rows = rows[::-1]
    body = b"".join(rows)
    body = tga_rle(body, size) if rle else body
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(bytes(head) + cmap + body + FOOTER)


def to16(rows):
    out = []
    for row in rows:
        r16 = bytearray()
        for i in range(0, len(row), 3):
            b, g, r = row[i], row[i + 1], row[i + 2]
            r16 += struct.pack("<H", (r >> 3) << 10 | (g >> 3) << 5 | b >> 3)
        out.append(bytes(r16))
    return out


def main():
    os.makedirs(OUT, exist_ok=True)
    src = source()
    o = lambda n: os.path.join(OUT, n)
    run(src, "-type", "Palette", "-compress", "None", "BMP3:" + o("bmp_p8.bmp"))
    run(src, "-type", "Palette", "-compress", "RLE", "BMP3:" + o("bmp_rle8.bmp"))
    run(src, "-type", "TrueColor", "BMP3:" + o("bmp_t24.bmp"))
    run(src, "-colors", "16", "-compress", "None", "BMP3:" + o("bmp_p4.bmp"))
    run(src, "-colors", "2", "-compress", "None", "BMP3:" + o("bmp_p1.bmp"))
    # Top-down: the same rows in the other order, height negated.
    data = bytearray(open(o("bmp_t24.bmp"), "rb").read())
    off = struct.unpack_from("<I", data, 10)[0]
    stride = (W * 3 + 3) // 4 * 4
    rows = [data[off + r * stride:off + (r + 1) * stride] for r in range(H)]
    struct.pack_into("<i", data, 22, -H)
    open(o("bmp_t24_topdown.bmp"), "wb").write(bytes(data[:off]) + b"".join(rows[::-1]))

    run(src, "-type", "Palette", "-compress", "None", o("tmp_p8.tga"))
    run(src, "-type", "TrueColor", "-compress", "None", o("tmp_t24.tga"))
    run(src, "-alpha", "on", "-channel", "A", "-fx", "0.5+j/10", "-type", "TrueColorAlpha",
        "-compress", "None", o("tmp_t32.tga"))
    run(src, "-type", "Grayscale", "-compress", "None", o("tmp_g8.tga"))
    for kind in ("p8", "t24", "t32", "g8"):
        head, cmap, rows, size = parse_tga(open(o("tmp_%s.tga" % kind), "rb").read())
        for rle in (False, True):
            for top in (False, True):
                name = "tga_%s%s%s.tga" % (kind, "_rle" if rle else "", "_topdown" if top else "")
                write_tga(name, head, cmap, rows, size, rle, top)
        if kind == "t24":
            for rle in (False, True):
                for top in (False, True):
                    name = "tga_t16%s%s.tga" % ("_rle" if rle else "", "_topdown" if top else "")
                    write_tga(name, head, cmap, to16(rows), 2, rle, top, depth=16)
        os.remove(o("tmp_%s.tga" % kind))
    # Width 3: 9 bytes of pixels padded to rows of 12.
    run(src, "-crop", "3x5+0+0", "+repage", "-type", "TrueColor", "-compress", "None", o("tmp_w3.tga"))
    head, cmap, rows, size = parse_tga(open(o("tmp_w3.tga"), "rb").read())
    write_tga("tga_t24_width3.tga", head, cmap, rows, size, False, False)
    os.remove(o("tmp_w3.tga"))

    run(src, "-type", "Palette", o("pcx_p8.pcx"))
    run(src, "-type", "TrueColor", o("pcx_t24.pcx"))
    data = open(o("pcx_p8.pcx"), "rb").read()
    assert data[-769] == 12
    open(o("pcx_p8_nopalette.pcx"), "wb").write(data[:-769])

    for comp, tag in (("None", ""), ("RLE", "_rle")):
        run(src, "-compress", comp, o("psd_rgb%s.psd" % tag))
        run(src, "-alpha", "on", "-channel", "A", "-fx", "0.5+j/10", "-compress", comp, o("psd_rgba%s.psd" % tag))
    run(src, "-quality", "90", o("jpeg_baseline.jpg"))
    run(src, "-quality", "90", "-interlace", "Plane", o("jpeg_progressive.jpg"))
    run(src, "-colorspace", "Gray", "-quality", "90", o("jpeg_grey.jpg"))
    os.remove(src)

    for name in sorted(os.listdir(OUT)):
        if name.endswith((".ppm", ".pgm")) or name.endswith("_nopalette.pcx"):
            continue
        # ImageMagick removes an assumed white matte from a PSD's composite when it
        # has alpha; its decode of the single layer holds the plain channel values.
        picture = o(name) + ("[1]" if "rgba" in name else "")
        run(picture, "-auto-orient", "-alpha", "off", "-depth", "8", o(name + ".ppm"))
        if "t32" in name or "rgba" in name:
            run(picture, "-auto-orient", "-alpha", "extract", "-depth", "8", o(name + ".alpha.pgm"))


if __name__ == "__main__":
    main()
