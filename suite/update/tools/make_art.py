#!/usr/bin/env python3
"""Draws Refreshkit's row icons (16 x 16, 32-bit with mask) and step markers (24-bit bitmaps) and
writes the resource script that carries them."""
import os
import struct
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def pixels_of(size, paint):
    """Bottom-up rows of (b, g, r, a) for paint(x, y) -> (r, g, b, a) with y from the top."""
    rows = []
    for y in range(size[1] - 1, -1, -1):
        for x in range(size[0]):
            r, g, b, a = paint(x, y)
            rows.append(bytes([b, g, r, a]))
    return b"".join(rows)


def disc(colour, mark):
    def paint(x, y):
        dx, dy = x - 7.5, y - 7.5
        if dx * dx + dy * dy > 56:
            return (0, 0, 0, 0)
        if mark(x, y):
            return (255, 255, 255, 255)
        return colour + (255,)
    return paint


def write_icon(name, paint):
    w = h = 16
    xor = pixels_of((w, h), paint)
    mask_row = 4  # 16 bits padded to 32
    mask = bytearray(mask_row * h)
    for y in range(h):
        for x in range(w):
            if paint(x, h - 1 - y)[3] == 0:
                mask[y * mask_row + x // 8] |= 0x80 >> (x % 8)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32,
                                                             len(image), 6 + 16)
    with open(os.path.join(out, name), "wb") as f:
        f.write(directory + image)


def write_bitmap(name, size, paint):
    w, h = size
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = paint(x, y)
            row += bytes([b, g, r])
        data += row + b"\0" * (stride - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    with open(os.path.join(out, name), "wb") as f:
        f.write(file_header + header + bytes(data))


# Up to date: green with a tick; information: blue with an "i"; update available: orange arrow.
write_icon("up_to_date.ico", disc((40, 160, 60), lambda x, y: (x - 4 == y - 7 and 4 <= x <= 7) or
                                  (x + y == 18 and 7 <= x <= 11)))
write_icon("information.ico", disc((40, 90, 200), lambda x, y: x in (7, 8) and (y in (3, 4) or
                                   6 <= y <= 12)))
write_icon("update_available.ico", disc((230, 130, 20), lambda x, y: (x in (7, 8) and 3 <= y <= 9)
                                        or (y >= 8 and abs(x - 7.5) <= 12 - y and y <= 12)))


def arrow(x, y):
    return (0, 120, 215) if abs(y - 5) <= (9 - x) // 2 and x >= 1 else (255, 255, 255)


def tick(x, y):
    on = (x - 1 == y - 5 and 1 <= x <= 4) or (x + y == 12 and 4 <= x <= 9)
    return (40, 160, 60) if on else (255, 255, 255)


write_bitmap("step_current.bmp", (11, 11), arrow)
write_bitmap("step_done.bmp", (11, 11), tick)

with open(os.path.join(out, "refreshkit_art.rc"), "w") as f:
    f.write('4010 ICON "up_to_date.ico"\n')
    f.write('4011 ICON "information.ico"\n')
    f.write('4012 ICON "update_available.ico"\n')
    f.write('4014 BITMAP "step_current.bmp"\n')
    f.write('4009 BITMAP "step_done.bmp"\n')
