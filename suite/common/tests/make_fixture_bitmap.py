#!/usr/bin/env python3
"""Writes the fixture language libraries' bitmaps (24-bit) and the resource script that carries them
as 101 to 104: a 3 x 2 "banner" for the tests, and plain pictures the update dialogs ask for."""
import os
import struct
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def write_bitmap(name, width, height, paint):
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = paint(x, y)
            row += bytes([b, g, r])
        data += row + b"\0" * (stride - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    with open(os.path.join(out, name), "wb") as f:
        f.write(file_header + header + bytes(data))


def banner(x, y):
    return (0x80, 0x40, 0x20)


def title(x, y):
    # A band that fades from dark to light blue, with a light stripe along its foot.
    if y >= 74:
        return (200, 220, 240)
    shade = 40 + x * 160 // 594
    return (20, shade // 2, shade)


def icon(x, y):
    dx, dy = x - 23.5, y - 23.5
    if dx * dx + dy * dy > 500:
        return (255, 255, 255)
    return (255, 255, 255) if (abs(dx) < 4 and dy < 8) or (dy >= 4 and abs(dx) < 14 - dy) else (0, 110, 200)


def whatsnew(x, y):
    return (240, 240, 240) if (x // 8 + y // 8) % 2 else (225, 235, 245)


pictures = [("banner.bmp", 3, 2, banner), ("update_title.bmp", 594, 80, title),
            ("title_icon_down.bmp", 48, 48, icon), ("whatsnew.bmp", 240, 24, whatsnew)]
with open(os.path.join(out, "fixture_bitmap.rc"), "w") as rc:
    for number, (name, width, height, paint) in enumerate(pictures, start=101):
        write_bitmap(name, width, height, paint)
        rc.write(f'{number} BITMAP "{name}"\n')
