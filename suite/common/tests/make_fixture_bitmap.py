#!/usr/bin/env python3
"""Writes a 3 x 2 pixel 24-bit bitmap and a resource script that carries it as bitmap 101."""
import os
import struct
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
width, height = 3, 2
row = bytes([0x20, 0x40, 0x80] * width) + b"\0" * ((4 - width * 3 % 4) % 4)
pixels = row * height
header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
with open(os.path.join(out, "banner.bmp"), "wb") as f:
    f.write(file_header + header + pixels)
with open(os.path.join(out, "fixture_bitmap.rc"), "w") as f:
    f.write('101 BITMAP "banner.bmp"\n')
