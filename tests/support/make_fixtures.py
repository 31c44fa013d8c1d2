#!/usr/bin/env python3
"""Makes the 7z archives the archive tests read, with the system's 7-Zip, one per coder setting,
plus a damaged copy. Usage: make_fixtures.py <7z program> <output folder>."""
import os
import shutil
import subprocess
import sys

seven_zip, out_dir = sys.argv[1], os.path.abspath(sys.argv[2])
source = os.path.join(out_dir, "input")
shutil.rmtree(source, ignore_errors=True)
os.makedirs(os.path.join(source, "docs", "deeper"))
os.makedirs(os.path.join(source, "empty folder"))


def write(name, data):
    with open(os.path.join(source, name), "wb") as f:
        f.write(data)


# Text that compresses well, bytes that do not, and x86-like code full of CALL (E8) opcodes so the
# BCJ filter has work to do; large enough to span several LZMA2 chunks.
write("readme.txt", b"".join(b"line %d of the readme\r\n" % i for i in range(4000)))
state = 12345
noise = bytearray()
for _ in range(300000):
    state = (state * 1103515245 + 12345) & 0x7FFFFFFF
    noise.append(state >> 16 & 0xFF)
write(os.path.join("docs", "noise.bin"), bytes(noise))
code = bytearray()
for i in range(40000):
    code += b"\x55\x8b\xec\xe8" + (i * 64).to_bytes(4, "little") + b"\x5d\xc3"
write(os.path.join("docs", "deeper", "program.exe"), bytes(code))
write("empty.txt", b"")
write("\u00dcnic\u00f6de-\u00e9.txt", "Latin letters\n".encode())
write("\u043a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430.txt", "Cyrillic\n".encode())

settings = {
    "copy.7z": ["-m0=Copy", "-mhc=off"],
    "lzma.7z": ["-m0=LZMA"],
    "lzma2.7z": ["-m0=LZMA2", "-mx=9"],
    "lzma2_multi.7z": ["-m0=LZMA2", "-ms=off"],
    "bcj_lzma.7z": ["-m0=BCJ", "-m1=LZMA"],
    "bcj_lzma2.7z": ["-m0=BCJ", "-m1=LZMA2"],
    "encrypted.7z": ["-m0=LZMA2", "-psecret"],
    "encrypted_header.7z": ["-m0=LZMA2", "-psecret", "-mhe=on"],
}
env = dict(os.environ, LC_ALL="C.UTF-8")
for archive, switches in settings.items():
    path = os.path.join(out_dir, archive)
    if os.path.exists(path):
        os.remove(path)
    subprocess.run([seven_zip, "a", "-t7z", "-bso0", "-bsp0", *switches, path, "."],
                   cwd=source, env=env, check=True)


def damage(archive, damaged_archive, marker):
    """Changes one byte of data that the archive holds verbatim, so only the CRC can notice."""
    with open(os.path.join(out_dir, archive), "rb") as f:
        damaged = bytearray(f.read())
    at = damaged.find(marker)
    assert at > 0, damaged_archive
    damaged[at] ^= 0x20
    with open(os.path.join(out_dir, damaged_archive), "wb") as f:
        f.write(damaged)


# The readme in a stored solid block (entry digests), and the noise that LZMA2 keeps in stored
# chunks of a block of its own (the block's digest).
damage("copy.7z", "damaged.7z", b"line 100 of")
damage("lzma2_multi.7z", "damaged_block.7z", bytes(noise[1000:1032]))
