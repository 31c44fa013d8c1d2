#!/usr/bin/env python3
"""TRACE_FILE: prints the setup's trace readably, indented.

The setup writes its trace in UTF-16 behind a byte-order mark. Wine's installer, handed the same
file for its own log, writes its ANSI lines over the start of the file instead of appending to it;
those lines are shown apart, and the trace from the first character that survived."""
import sys


def show(text):
    for line in text.replace('\r\n', '\n').replace('\r', '\n').rstrip('\n').split('\n'):
        print('   ' + line)


data = open(sys.argv[1], 'rb').read()
if data.startswith(b'\xff\xfe'):
    show(data[2:].decode('utf-16-le', errors='replace'))
    sys.exit(0)
# The installer's text holds no zero byte; the trace's characters of this range all do.
end = data.find(b'\x00')
if end < 0:
    end = len(data)
print(f"   (Wine's installer wrote its own log over the first {end} bytes of the trace)")
print("   the installer's lines:")
show(data[:end].decode('cp1252', errors='replace'))
# Characters of the trace start at even offsets; one whose first byte was overwritten is lost.
start = end + (end % 2)
if start < len(data):
    print("   the setup's trace from there on:")
    show(data[start:].decode('utf-16-le', errors='replace'))
