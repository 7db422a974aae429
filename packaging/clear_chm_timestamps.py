#!/usr/bin/env python3
"""Sets the two compile times that chmcmd writes into a .chm to zero, so that
the same sources give the same bytes: the ITSF header's time stamp (offset 16,
4 bytes) and the time stamp record (code 10) of the /#SYSTEM file.

/#SYSTEM lies uncompressed in content section 0, which starts at the offset the
ITSF header holds at 0x58; its own offset comes from `chmls list`. Its layout:
a 4-byte version, then records of a 2-byte code, a 2-byte length and the data.

Usage: clear_chm_timestamps.py FILE.chm
"""
import struct
import subprocess
import sys


def system_file_offset(path):
    listing = subprocess.run(["chmls", "list", path], check=True, capture_output=True, text=True).stdout
    for line in listing.splitlines():
        fields = line.split()
        if len(fields) == 4 and fields[3] == "/#SYSTEM":
            section, offset, size = (int(f) for f in fields[:3])
            if section != 0:
                sys.exit("clear_chm_timestamps: /#SYSTEM is not in the uncompressed section")
            return offset, size
    sys.exit("clear_chm_timestamps: no /#SYSTEM in " + path)


def main():
    path = sys.argv[1]
    offset, size = system_file_offset(path)
    with open(path, "r+b") as chm:
        data = bytearray(chm.read())
        if data[:4] != b"ITSF":
            sys.exit("clear_chm_timestamps: not a CHM file: " + path)
        data[16:20] = bytes(4)
        content = struct.unpack_from("<Q", data, 0x58)[0]
        start = content + offset
        end = start + size
        position = start + 4
        cleared = False
        while position + 4 <= end:
            code, length = struct.unpack_from("<HH", data, position)
            if code == 10 and length == 4:
                data[position + 4:position + 8] = bytes(4)
                cleared = True
            position += 4 + length
        if not cleared:
            sys.exit("clear_chm_timestamps: no time stamp record in /#SYSTEM")
        chm.seek(0)
        chm.write(data)


if __name__ == "__main__":
    main()
