#!/usr/bin/env python3
"""Writes the hostile sample files into malformed/. Each name says what is wrong."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "malformed")
GOLDEN = os.path.join(HERE, "golden")


def bmp(width, height, bits=8, compression=0, colors_used=0, data_offset=None, palette=None, data=b""):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, 0, 0, 0, colors_used, 0)
    if palette is None:
        palette = bytes(4 * 256) if bits <= 8 else b""
    if data_offset is None:
        data_offset = 14 + 40 + len(palette)
    body = info + palette + data
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, data_offset) + body


FOOTER = struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\0"


def tga(width, height, depth, image_type, map_type=0, map_first=0, map_length=0, map_bits=0, desc=0, rest=b""):
    head = struct.pack("<BBBHHBHHHHBB", 0, map_type, image_type, map_first, map_length, map_bits, 0, 0,
                       width, height, depth, desc)
    return head + rest + FOOTER


def pcx(xmin, ymin, xmax, ymax, planes=1, bytes_per_line=None, bits=8, data=b""):
    if bytes_per_line is None:
        bytes_per_line = xmax - xmin + 1
    head = bytearray(128)
    head[0:4] = bytes([10, 5, 1, bits])
    struct.pack_into("<HHHH", head, 4, xmin, ymin, xmax, ymax)
    head[65] = planes
    struct.pack_into("<H", head, 66, bytes_per_line)
    return bytes(head) + data


def psd(width, height, channels=3, sections=(0, 0, 0), compression=0, data=b""):
    head = b"8BPS" + struct.pack(">H6xHIIHH", 1, channels, height, width, 8, 3)
    for length in sections:
        head += struct.pack(">I", length)
    return head + struct.pack(">H", compression) + data


def golden(name):
    return open(os.path.join(GOLDEN, name), "rb").read()


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {
        # Sizes that overflow 32-bit arithmetic, and headers that claim gigabytes.
        "bmp_dims_overflow_32bit.bmp": bmp(0x7FFFFFFF, 0x7FFFFFFF, bits=24),
        "bmp_height_int_min.bmp": bmp(4, -0x80000000, bits=24),
        "bmp_header_only_claims_gigabytes.bmp": bmp(16384, 16384, bits=32),
        "bmp_stride_overflow_32bit.bmp": bmp(0x40000000, 8, bits=32),
        "tga_header_only_claims_gigabytes.tga": tga(65535, 65535, 32, 2),
        "tga_no_pixel_type_claims_gigabytes.tga": tga(16384, 16384, 24, 0),
        "pcx_header_only_claims_gigabytes.pcx": pcx(0, 0, 65534, 65534, planes=3),
        "psd_dims_overflow_32bit.psd": psd(0xFFFFFFFF, 0xFFFFFFFF),
        "psd_header_only_claims_gigabytes.psd": psd(16384, 16384, channels=4),
        "psd_row_table_past_end.psd": psd(16384, 16384, channels=24, compression=1),
        # RLE runs past the row and past the image.
        "bmp_rle_run_past_row.bmp": bmp(4, 2, compression=1, data=bytes([255, 7, 0, 0, 3, 9, 0, 1])),
        "bmp_rle_run_past_image.bmp": bmp(4, 2, compression=1, data=bytes([255, 7] * 40)),
        "bmp_rle_literal_past_row.bmp": bmp(2, 2, compression=1, data=bytes([0, 9]) + bytes(range(1, 11)) + b"\0\1"),
        "bmp_rle_literal_past_file.bmp": bmp(4, 2, compression=1, data=bytes([0, 200, 1, 2, 3])),
        "bmp_rle_delta_past_image.bmp": bmp(4, 2, compression=1, data=bytes([0, 2, 255, 255, 5, 5, 0, 1])),
        "bmp_rle_delta_past_row.bmp": bmp(4, 2, compression=1, data=bytes([0, 2, 200, 0, 5, 5, 0, 0, 4, 1, 0, 1])),
        "bmp_rle_eol_past_image.bmp": bmp(4, 2, compression=1, data=bytes([0, 0] * 10 + [4, 4])),
        "bmp_rle_truncated.bmp": bmp(4, 2, compression=1, data=bytes([4, 1, 0])),
        "bmp_rle4_unsupported.bmp": bmp(4, 2, bits=4, compression=2, data=bytes(8)),
        "bmp_colors_used_huge.bmp": bmp(2, 2, colors_used=0xFFFFFFFF, data=bytes(8)),
        "bmp_data_offset_past_end.bmp": bmp(2, 2, bits=24, data_offset=0xFFFFFFF0, data=bytes(16)),
        "bmp_header_size_huge.bmp": bmp(2, 2)[:14] + struct.pack("<I", 0xFFFFFFFF) + bmp(2, 2)[18:] + bytes(8),
        "tga_rle_run_past_image.tga": tga(2, 1, 24, 10, rest=bytes([0xFF, 1, 2, 3])),
        "tga_rle_raw_packet_past_image.tga": tga(2, 1, 24, 10, rest=bytes([0x7F]) + bytes(range(256)) * 2),
        "tga_rle_truncated.tga": tga(4, 4, 24, 10)[:18] + bytes([0x85, 1, 2, 3, 0x02, 9]),
        # Colour maps: first index plus length past 256, indices past the map.
        "tga_map_first_plus_length_past_256.tga": tga(2, 1, 8, 1, 1, 200, 100, 24, rest=bytes(300) + bytes([255, 3])),
        "tga_map_first_past_256.tga": tga(1, 1, 8, 1, 1, 60000, 2, 24, rest=bytes(6) + bytes([1])),
        "tga_index_past_map.tga": tga(2, 1, 8, 1, 1, 0, 2, 24, rest=bytes([1, 2, 3, 4, 5, 6, 250, 255])),
        "tga_map_past_end.tga": tga(2, 1, 8, 1, 1, 0, 65535, 24, rest=bytes(10)),
        "tga_map_entry_size_odd.tga": tga(1, 1, 8, 1, 1, 0, 1, 7, rest=bytes([3, 0])),
        "tga_depth_15.tga": tga(1, 1, 15, 2, rest=bytes(2)),
        "pcx_bytes_per_line_below_width.pcx": pcx(0, 0, 9, 0, bytes_per_line=2, data=bytes([1, 2]) * 8),
        "pcx_run_past_line.pcx": pcx(0, 0, 3, 1, data=bytes([0xFF, 7]) * 4),
        "pcx_inverted_extent.pcx": pcx(10, 10, 2, 2, bytes_per_line=8, data=bytes(64)),
        "pcx_truncated_line.pcx": pcx(0, 0, 7, 3, data=bytes([1, 2, 3])),
        "pcx_4_bits_unsupported.pcx": pcx(0, 0, 7, 0, bits=4, data=bytes(8)),
        "pcx_palette_marker_in_header.pcx": pcx(0, 0, 0, 0, data=bytes([5])),
        "psd_colour_section_ffffffff.psd": psd(2, 2, sections=(0xFFFFFFFF, 0, 0), data=bytes(12)),
        "psd_resources_ffffffff.psd": psd(2, 2, sections=(0, 0xFFFFFFFF, 0), data=bytes(12)),
        "psd_layers_ffffffff.psd": psd(2, 2, sections=(0, 0, 0xFFFFFFFF), data=bytes(12)),
        "psd_packbits_past_plane.psd": psd(2, 1, channels=1, compression=1, data=bytes([0, 2, 0x81, 9])),
        "psd_packbits_truncated.psd": psd(2, 2, channels=3, compression=1, data=bytes(12) + bytes([0xFD])),
        "psd_channels_25.psd": psd(1, 1, channels=25, data=bytes(25)),
        "psd_raw_truncated.psd": psd(4, 4, channels=3, data=bytes(20)),
    }
    # Truncated files: every golden sample cut short.
    for name in sorted(os.listdir(GOLDEN)):
        if name.endswith((".ppm", ".pgm")):
            continue
        data = golden(name)
        files["truncated_half_" + name] = data[: len(data) // 2]
    # A JPEG whose frame claims 65535 x 65535.
    jpeg = bytearray(golden("jpeg_baseline.jpg"))
    sof = jpeg.index(b"\xff\xc0")
    struct.pack_into(">HH", jpeg, sof + 5, 65535, 65535)
    files["jpeg_frame_claims_gigabytes.jpg"] = bytes(jpeg)
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
