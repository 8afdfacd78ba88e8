#!/usr/bin/python3
"""Packs square RGBA PNGs into one Windows icon file, each kept as PNG (as
Windows reads icons since Vista), for the executable's icon resource.

  make_ico.py <out.ico> <png>...
"""
import struct
import sys


def png_size(data, path):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        sys.exit(f"make_ico.py: not a PNG: {path}")
    width, height = struct.unpack(">II", data[16:24])
    if width != height or not 1 <= width <= 256:
        sys.exit(f"make_ico.py: {path} is {width} x {height}; an icon is square, at most 256")
    return width


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: make_ico.py <out.ico> <png>...")
    images = []
    for path in sys.argv[2:]:
        with open(path, "rb") as f:
            data = f.read()
        images.append((png_size(data, path), data))
    images.sort(key=lambda image: image[0])
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for size, data in images:
        # A size of 256 is written as 0; 32 bits per pixel, one plane.
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        blobs += data
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(header + entries + blobs)


main()
