#!/usr/bin/env python3
"""Writes damaged settings folders, one per kind of damage, each a config.ini and
a store.ini made from the defaults a new installation has (data/).

    make_damaged_settings.py DATA_DIR OUT_DIR

Every folder keeps "Desktop" as a background somewhere the damage leaves
readable, so that a saver that copes has something to set on fire.
"""
import os
import re
import sys

BIG = 2147483647


def sections(text):
    """[(header line, [body lines])], the lines without their ends."""
    out = []
    for line in text.splitlines():
        if line.startswith("["):
            out.append((line, []))
        elif out:
            out[-1][1].append(line)
    return out


def join(parts):
    return "".join(header + "\r\n" + "".join(line + "\r\n" for line in body) for header, body in parts)


def set_values(text, section, values):
    """The section's keys set (or added) to the values given."""
    parts = sections(text)
    for header, body in parts:
        if header.lower() == "[" + section.lower() + "]":
            for key, value in values.items():
                for i, line in enumerate(body):
                    if line.split("=", 1)[0].lower() == key.lower():
                        body[i] = key + "=" + str(value)
                        break
                else:
                    body.insert(0, key + "=" + str(value))
    return join(parts)


def palette(i, shift):
    keys = [c + "Point" + str(p) for c in ("Red", "Green", "Blue") for p in range(4)]
    points = [(16 + (i * 7 + k * 19 + shift) % 200, min(255, k % 4 * 85)) for k in range(12)]
    return ("[pallette%d]" % i, ["%s=%d,%d" % (key, x, y) for key, (x, y) in zip(keys, points)])


def many_palettes(count, shift):
    return join([("[ColorTableInfo]", ["num=%d" % count, "index=%d" % (count - 1)])] +
                [palette(i, shift) for i in range(count)])


def main():
    data, out = sys.argv[1], sys.argv[2]
    config = open(os.path.join(data, "config.ini"), newline="").read()
    store = open(os.path.join(data, "store.ini"), newline="").read()
    long_text = "x" * 100000
    cases = {}

    cases["sound"] = (config, store)

    huge = config
    for section, keys in (("Background", ("num", "currentOrder")), ("ColorTableInfo", ("num", "index")),
                          ("blur", ("num", "currentOrder"))):
        huge = set_values(huge, section, {key: BIG for key in keys})
    huge_store = set_values(set_values(store, "ColorTableInfo", {"num": BIG, "index": BIG}), "blur", {"num": BIG})
    cases["huge-counts"] = (huge, huge_store)

    negative = set_values(config, "Background", {"num": 1, "currentOrder": -1})
    negative = set_values(negative, "TimeSection",
                          {"changeBackgroundTime": -1, "changeColorTime": -2147483648, "changeBlurTime": -50})
    negative = set_values(negative, "ColorTableInfo", {"index": -2147483648})
    negative = set_values(negative, "pallette0", {"RedPoint0": "-2147483648,-1", "GreenPoint3": "-5,-300"})
    negative = set_values(negative, "blur", {"currentOrder": -7})
    negative += "[blur]\r\nblur9=-1,-300|-2147483648,5\r\n"
    cases["negative"] = (negative, set_values(set_values(store, "ColorTableInfo", {"num": -3}), "blur", {"num": -1}))

    lines = set_values(config, "Background", {"num": 3, "path0": "C:\\" + long_text + ".bmp", "path1": "Desktop",
                                              "path2": long_text})
    lines = set_values(lines, "pallette1", {"RedPoint1": "1" * 100000 + ",2", "BluePoint0": "7," + "9" * 100000})
    lines = set_values(lines, "blur", {"blur0": "200,1|" * 16666})
    lines = "; " + long_text + "\r\n" + lines + "[" + long_text + "]\r\n" + long_text + "=1\r\n"
    lines_store = set_values(store, "blur", {"blur1": long_text})
    cases["long-lines"] = (lines, lines_store)

    nul = set_values(config, "Background", {"num": 3, "path0": "Desk\0top", "path1": "\0", "path2": "Desktop"})
    nul = nul.replace("[pallette2]", "[pallette\0" + "2]").replace("RedPoint3=", "Red\0Point3=", 1)
    nul = set_values(nul, "blur", {"blur1": "200,1|\0" + "180,0"})
    nul = "\0" * 64 + "\r\n" + nul + "\0\0\0"
    cases["nul-bytes"] = (nul, store.replace("num=", "num=\0", 1) + "\0")

    thousand = set_values(config, "Background", {"num": 1})
    thousand = join([p for p in sections(thousand) if not re.match(r"\[(pallette\d+|ColorTableInfo)\]", p[0])])
    cases["thousand-palettes"] = (thousand + many_palettes(1000, 0),
                                  join([p for p in sections(store) if not re.match(r"\[(pallette\d+|ColorTableInfo)\]",
                                                                                  p[0])]) + many_palettes(1000, 3))

    duplicate = config + "[Background]\r\nnum=%d\r\npath0=C:\\nowhere.bmp\r\ncurrentOrder=5\r\n" % BIG
    duplicate += "[ColorTableInfo]\r\nnum=500\r\nindex=400\r\n[pallette0]\r\nRedPoint0=255,255\r\n"
    duplicate = duplicate.replace("[TimeSection]\r\n", "[TimeSection]\r\nchangeColorTime=0\r\nchangeColorTime=999\r\n")
    cases["duplicate-sections"] = (duplicate, store + store)

    cut = config.index("RedPoint2=", config.index("[pallette3]")) + len("RedPoint2=1")
    store_cut = store.index("[pallette4]") + len("[pallet")
    cases["truncated"] = (config[:cut], store[:store_cut])

    for name, (config_text, store_text) in cases.items():
        folder = os.path.join(out, name)
        os.makedirs(folder, exist_ok=True)
        for file, text in (("config.ini", config_text), ("store.ini", store_text)):
            with open(os.path.join(folder, file), "wb") as f:
                f.write(text.encode("latin-1"))
    print("\n".join(cases))


if __name__ == "__main__":
    main()
