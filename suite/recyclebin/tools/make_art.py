#!/usr/bin/env python3
"""Draws Trashwipe's own bitmaps (dialog headers, the progress background and the three result
pictures) and the pictures of the image-library stand-in, as 24-bit BMP files, and writes the two
resource scripts that carry them: trashwipe_art.rc and glyphstore_art.rc."""
import os
import struct
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def bmp(name, width, height, paint):
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = b"".join(bytes(reversed(paint(x, y))) for x in range(width))
        rows.append(row + b"\0" * (stride - len(row)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(out, name), "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54) + info + pixels)
    return name


def band(width, height, top, bottom):
    """A vertical fade from one colour to another."""
    def paint(x, y):
        t = y / max(1, height - 1)
        return tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
    return paint


def disc(colour):
    def paint(x, y):
        dx, dy = x - 15.5, y - 15.5
        return colour if dx * dx + dy * dy <= 225 else (255, 255, 255)
    return paint


own = {
    188: bmp("header.bmp", 464, 48, band(464, 48, (20, 60, 130), (90, 140, 210))),
    189: bmp("header_right.bmp", 120, 48, band(120, 48, (90, 140, 210), (20, 60, 130))),
    195: bmp("progress_background.bmp", 48, 48, disc((225, 232, 245))),
    197: bmp("result_success.bmp", 32, 32, disc((40, 160, 60))),
    198: bmp("result_errors.bmp", 32, 32, disc((230, 150, 20))),
    199: bmp("result_failure.bmp", 32, 32, disc((200, 40, 40))),
}
with open(os.path.join(out, "trashwipe_art.rc"), "w") as f:
    for number, name in own.items():
        f.write(f'{number} BITMAP "{name}"\n')

# The image library's pictures, numbered in the order of its name list.
glyphs = [
    bmp("encryption_files_box.bmp", 180, 60, band(180, 60, (235, 240, 250), (200, 215, 240))),
    bmp("recbin_bottom_shred.bmp", 700, 20, band(700, 20, (200, 215, 240), (255, 255, 255))),
    bmp("shredding_recycle_bin.bmp", 48, 48, disc((60, 110, 190))),
    bmp("blue_box_small.bmp", 12, 12, lambda x, y: (40, 90, 200)),
    bmp("summary_botton_fading.bmp", 464, 16, band(464, 16, (255, 255, 255), (200, 215, 240))),
]
with open(os.path.join(out, "glyphstore_art.rc"), "w") as f:
    for number, name in enumerate(glyphs, start=1):
        f.write(f'{number} BITMAP "{name}"\n')
