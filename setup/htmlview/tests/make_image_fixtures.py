#!/usr/bin/env python3
"""Writes the image decoders' fixtures into a folder: GIF and PNG files, each valid one with a
sidecar of the pixels it was made from (NAME.frames: per frame u32 width, u32 height and one colour
index per pixel; NAME.rgb: u32 width, u32 height and red, green, blue per pixel, top row first)."""
import struct
import sys
import zlib
from pathlib import Path

out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)


# ---------------------------------------------------------------- GIF
def lzw_encode(indexes, min_size, clear_when_full=True):
    """GIF LZW, LSB first. Without clear_when_full the table stays full at 12 bits for 500 more
    codes before the clear code comes."""
    clear, end = 1 << min_size, (1 << min_size) + 1
    size = min_size + 1
    codes = []  # (code, size)

    def reset():
        return {bytes([i]): i for i in range(clear)}, end + 1

    table, next_code = reset()
    codes.append((clear, size))
    run = b""
    full_codes = 0
    for value in indexes:
        candidate = run + bytes([value])
        if candidate in table:
            run = candidate
            continue
        codes.append((table[run], size))
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            full_codes += 1
            if clear_when_full or full_codes == 500:
                codes.append((clear, size))
                table, next_code = reset()
                size = min_size + 1
                full_codes = 0
        run = bytes([value])
    if run:
        codes.append((table[run], size))
    codes.append((end, size))
    bits, count, data = 0, 0, bytearray()
    for code, width in codes:
        bits |= code << count
        count += width
        while count >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        data.append(bits & 0xFF)
    return bytes(data)


def sub_blocks(data, size=255):
    out_bytes = bytearray()
    for i in range(0, len(data), size):
        chunk = data[i:i + size]
        out_bytes += bytes([len(chunk)]) + chunk
    return bytes(out_bytes) + b"\0"


def interlace_order(height):
    rows = []
    for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)):
        rows += list(range(start, height, step))
    return rows


def gif_frame(left, top, width, height, indexes, min_size=2, interlaced=False, control=None,
              local_table=None, clear_when_full=True):
    data = b""
    if control is not None:
        disposal, delay, transparent = control
        packed = (disposal << 2) | (1 if transparent is not None else 0)
        data += b"\x21\xF9\x04" + struct.pack("<BHB", packed, delay, transparent or 0) + b"\0"
    packed = 0x40 if interlaced else 0
    table = b""
    if local_table:
        packed |= 0x80 | (len(local_table).bit_length() - 2)
        table = b"".join(bytes(c) for c in local_table)
    stream = indexes
    if interlaced:
        stream = []
        for row in interlace_order(height):
            stream += indexes[row * width:(row + 1) * width]
    data += b"," + struct.pack("<HHHHB", left, top, width, height, packed) + table
    data += bytes([min_size]) + sub_blocks(lzw_encode(stream, min_size, clear_when_full))
    return data


def gif_file(name, width, height, table, frames, signature=b"GIF89a", trailer=True, extra=b"",
             expected=None):
    packed = 0x80 | (len(table).bit_length() - 2)
    data = signature + struct.pack("<HHBBB", width, height, packed, 0, 0)
    data += b"".join(bytes(c) for c in table) + extra
    data += b"".join(f[0] for f in frames)
    if trailer:
        data += b";"
    (out / name).write_bytes(data)
    if expected is not None:
        with open(out / (Path(name).stem + ".frames"), "wb") as sidecar:
            for f in frames:
                sidecar.write(struct.pack("<II", f[1], f[2]) + bytes(f[3]))


def frame(left, top, width, height, indexes, **kw):
    return (gif_frame(left, top, width, height, indexes, **kw), width, height, indexes)


PALETTE4 = [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)]
PALETTE256 = [(i, 255 - i, (i * 7) & 255) for i in range(256)]
NETSCAPE = lambda loops: b"\x21\xFF\x0BNETSCAPE2.0\x03\x01" + struct.pack("<H", loops) + b"\0"

still = [(x + y) % 4 for y in range(3) for x in range(5)]
gif_file("still.gif", 5, 3, PALETTE4, [frame(0, 0, 5, 3, still)], expected=True)
gif_file("lowercase_no_trailer.gif", 5, 3, PALETTE4, [frame(0, 0, 5, 3, still)],
         signature=b"gif89a", trailer=False, expected=True)
rows16 = [y % 4 for y in range(16)]
gif_file("interlaced_1x16.gif", 1, 16, PALETTE4, [frame(0, 0, 1, 16, rows16, interlaced=True)],
         expected=True)
pattern = [(x * 3 + y * 5) % 4 for y in range(11) for x in range(5)]
gif_file("interlaced_5x11.gif", 5, 11, PALETTE4, [frame(0, 0, 5, 11, pattern, interlaced=True)],
         expected=True)
noise, seed = [], 7
for _ in range(96 * 96):
    seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
    noise.append((seed >> 16) & 0xFF)
gif_file("full_table_late_clear.gif", 96, 96, PALETTE256,
         [frame(0, 0, 96, 96, noise, min_size=8, clear_when_full=False)], expected=True)
gif_file("full_table_clear.gif", 96, 96, PALETTE256,
         [frame(0, 0, 96, 96, noise, min_size=8)], expected=True)
two = [frame(0, 0, 2, 2, [1, 1, 1, 1], control=(0, 5, None)),
       frame(0, 0, 2, 2, [2, 2, 2, 2], control=(0, 0, None))]
gif_file("endless.gif", 2, 2, PALETTE4, two, extra=NETSCAPE(0), expected=True)
gif_file("loop_twice.gif", 2, 2, PALETTE4, two, extra=NETSCAPE(2), expected=True)
gif_file("no_loop_block.gif", 2, 2, PALETTE4, two, expected=True)
# Frame 0 fills the left column with red and disposes to the background; frame 1 paints one
# blue pixel at (1,1) and leaves (1,0) transparent.
gif_file("disposal.gif", 2, 2, PALETTE4,
         [frame(0, 0, 1, 2, [1, 1], control=(2, 10, None)),
          frame(1, 0, 1, 2, [0, 3], control=(1, 10, 0))], expected=True)
# A frame that reaches past the 3x3 screen on both sides.
gif_file("offscreen_frame.gif", 3, 3, PALETTE4,
         [frame(2, 1, 4, 4, [1, 2, 3, 1] * 4)], expected=True)
gif_file("local_table.gif", 2, 1, PALETTE4,
         [frame(0, 0, 2, 1, [0, 1], local_table=[(9, 8, 7), (6, 5, 4)])], expected=True)
good = (out / "still.gif").read_bytes()
(out / "truncated.gif").write_bytes(good[:len(good) - 6])
(out / "unknown_extension.gif").write_bytes(good[:13 + 12] + b"\x21\xFD\x00" + good[13 + 12:])
(out / "bad_signature.gif").write_bytes(b"GIF88a" + good[6:])
(out / "no_image.gif").write_bytes(good[:13 + 12] + b";")
(out / "bad_block.gif").write_bytes(good[:13 + 12] + b"\x99")
(out / "huge_frames.gif").write_bytes(
    good[:6] + struct.pack("<HH", 65535, 65535) + good[10:13 + 12] +
    b"," + struct.pack("<HHHHB", 0, 0, 65535, 65535, 0) + b"\x02\x02\x4C\x01\0;")


# ---------------------------------------------------------------- PNG
def chunk(kind, data, crc=None):
    if crc is None:
        crc = zlib.crc32(kind + data)
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc & 0xFFFFFFFF)


CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def pack_row(samples, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    row, bits, count = bytearray(), 0, 0
    for s in samples:
        bits = (bits << depth) | s
        count += depth
        if count == 8:
            row.append(bits)
            bits, count = 0, 0
    if count:
        row.append(bits << (8 - count))
    return bytes(row)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def filter_row(kind, row, prev, bpp):
    out_row = bytearray()
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        pred = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
        out_row.append((x - pred) & 0xFF)
    return bytes([kind]) + bytes(out_row)


def scanlines(pixels, width, height, colour, depth):
    """pixels[y][x] is a tuple of samples; rows filtered with filter types in turn."""
    bpp = max(1, CHANNELS[colour] * depth // 8)
    data, prev, n = bytearray(), None, 0
    for y in range(height):
        row = pack_row([s for p in pixels[y] for s in p], depth)
        if prev is None:
            prev = bytes(len(row))
        data += filter_row(n % 5, row, prev, bpp)
        prev, n = row, n + 1
    return bytes(data)


def png_bytes(width, height, colour, depth, pixels, interlaced=False, palette=None, extra=b"",
              before_idat=b"", idat_split=None, ihdr=None, compressed=None):
    if interlaced:
        raw = bytearray()
        for sx, sy, dx, dy in ADAM7:
            cols = list(range(sx, width, dx))
            rows = list(range(sy, height, dy))
            if cols and rows:
                raw += scanlines([[pixels[y][x] for x in cols] for y in rows], len(cols),
                                 len(rows), colour, depth)
    else:
        raw = scanlines(pixels, width, height, colour, depth)
    data = compressed if compressed is not None else zlib.compress(bytes(raw))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", ihdr if ihdr is not None else
                 struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, int(interlaced)))
    if palette:
        png += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    png += before_idat
    pieces = [data] if not idat_split else [data[i:i + idat_split]
                                            for i in range(0, len(data), idat_split)]
    png += b"".join(chunk(b"IDAT", p) for p in pieces)
    png += extra + chunk(b"IEND", b"")
    return png


def write_expected(name, width, height, colours):
    with open(out / (name + ".rgb"), "wb") as sidecar:
        sidecar.write(struct.pack("<II", width, height))
        for y in range(height):
            for x in range(width):
                sidecar.write(bytes(colours[y][x]))


W, H = 11, 9
PNG_PALETTE = [((i * 37) & 255, (i * 91) & 255, (i * 13) & 255) for i in range(256)]
for colour, depths in ((0, (1, 2, 4, 8, 16)), (2, (8, 16)), (3, (1, 2, 4, 8)), (4, (8, 16)),
                       (6, (8, 16))):
    for depth in depths:
        top = (1 << depth) - 1
        pixels, colours = [], []
        for y in range(H):
            prow, crow = [], []
            for x in range(W):
                v = (x * 7 + y * 13 + x * y) % (top + 1) if depth < 16 else \
                    ((x * 4099 + y * 7919) * 31) & 0xFFFF
                r, g, b = v, (v * 3 + 1) & top, (v * 5 + 7) & top
                if colour == 0:
                    prow.append((v,))
                    grey = v >> 8 if depth == 16 else v * 255 // top
                    crow.append((grey, grey, grey))
                elif colour == 4:
                    prow.append((v, (x * 50) & top))
                    grey = v >> 8 if depth == 16 else v
                    crow.append((grey, grey, grey))
                elif colour == 3:
                    prow.append((v,))
                    crow.append(PNG_PALETTE[v])
                else:
                    prow.append((r, g, b) + (((x + y) * 40) & top,) * (colour == 6))
                    crow.append(tuple(c >> 8 for c in (r, g, b)) if depth == 16 else (r, g, b))
            pixels.append(prow)
            colours.append(crow)
        palette = PNG_PALETTE[:1 << depth] if colour == 3 else None
        for interlaced in (False, True):
            name = f"type{colour}_depth{depth}" + ("_interlaced" if interlaced else "")
            (out / (name + ".png")).write_bytes(
                png_bytes(W, H, colour, depth, pixels, interlaced, palette))
            write_expected(name, W, H, colours)
        if colour == 2 and depth == 8:
            rgb_pixels, rgb_colours = pixels, colours

(out / "split_idat.png").write_bytes(png_bytes(W, H, 2, 8, rgb_pixels, idat_split=7))
write_expected("split_idat", W, H, rgb_colours)
(out / "unknown_ancillary.png").write_bytes(
    png_bytes(W, H, 2, 8, rgb_pixels, before_idat=chunk(b"zzTx", b"hello")))
write_expected("unknown_ancillary", W, H, rgb_colours)
(out / "gamma_identity.png").write_bytes(
    png_bytes(W, H, 2, 8, rgb_pixels, before_idat=chunk(b"gAMA", struct.pack(">I", 45455))))
write_expected("gamma_identity", W, H, rgb_colours)
(out / "gamma_zero.png").write_bytes(
    png_bytes(W, H, 2, 8, rgb_pixels, before_idat=chunk(b"gAMA", struct.pack(">I", 0))))
write_expected("gamma_zero", W, H, rgb_colours)
green = [[(0, 255, 0) if (x + y) % 3 == 0 else (x, y, 9) for x in range(4)] for y in range(3)]
(out / "rgb_trns_green.png").write_bytes(
    png_bytes(4, 3, 2, 8, green, before_idat=chunk(b"tRNS", struct.pack(">HHH", 0, 255, 0))))
write_expected("rgb_trns_green", 4, 3, green)
(out / "rgb_short_trns.png").write_bytes(
    png_bytes(4, 3, 2, 8, green, before_idat=chunk(b"tRNS", b"\0\0")))
write_expected("rgb_short_trns", 4, 3, green)
# Palette of four entries; index 3 fully transparent; index 200 lies beyond the palette.
small_palette = [(10, 20, 30), (40, 50, 60), (70, 80, 90), (1, 2, 3)]
indexes = [[(x + y) % 4 if x < 3 else 200 for x in range(4)] for y in range(2)]
(out / "palette_trns.png").write_bytes(
    png_bytes(4, 2, 3, 8, [[(v,) for v in row] for row in indexes], palette=small_palette,
              before_idat=chunk(b"tRNS", bytes([255, 255, 255, 0]))))
write_expected("palette_trns", 4, 2,
               [[small_palette[v] if v < 4 else (0, 0, 0) for v in row] for row in indexes])
grey_alpha = [[(v,) for v in range(4)]]
(out / "alpha_type6.png").write_bytes(png_bytes(1, 1, 6, 8, [[(1, 2, 3, 0)]]))

good = (out / "type2_depth8.png").read_bytes()
bad_crc = bytearray(good)
bad_crc[8 + 8 + 13] ^= 1  # the IHDR's CRC
(out / "bad_crc.png").write_bytes(bytes(bad_crc))
(out / "unknown_critical.png").write_bytes(
    png_bytes(W, H, 2, 8, rgb_pixels, before_idat=chunk(b"ZZTX", b"x")))
(out / "short_ihdr.png").write_bytes(
    png_bytes(W, H, 2, 8, rgb_pixels, ihdr=struct.pack(">IIB", W, H, 8)))
(out / "huge_ihdr.png").write_bytes(
    png_bytes(W, H, 2, 8, rgb_pixels, ihdr=struct.pack(">IIBBBBB", 0x7FFFFFFF, 0x7FFFFFFF, 8,
                                                           2, 0, 0, 0)))
whole = zlib.compress(scanlines(rgb_pixels, W, H, 2, 8))
(out / "truncated_idat.png").write_bytes(
    png_bytes(W, H, 2, 8, rgb_pixels, compressed=whole[:len(whole) // 2]))
(out / "no_idat.png").write_bytes(good[:8 + 25] + chunk(b"IEND", b""))
(out / "bad_signature.png").write_bytes(b"\x89PNX" + good[4:])
(out / "bad_filter.png").write_bytes(
    png_bytes(1, 1, 0, 8, [[(1,)]], compressed=zlib.compress(b"\x07\x01")))
(out / "palette_missing.png").write_bytes(png_bytes(1, 1, 3, 8, [[(0,)]]))
