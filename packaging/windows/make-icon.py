#!/usr/bin/env python3
"""Writes a Windows icon file holding the given PNG images unchanged.

make-icon.py OUT.ico IMAGE.png...

Windows since Vista reads PNG-compressed icon images, so the desktop icons
serve as they are. Each image must be a square PNG of at most 256 pixels.
"""
import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_size(data, name):
    # The IHDR chunk comes first: length, "IHDR", width, height.
    if len(data) < 24 or not data.startswith(PNG_SIGNATURE) or data[12:16] != b"IHDR":
        sys.exit(f"make-icon.py: {name}: not a PNG image")
    width, height = struct.unpack(">II", data[16:24])
    if width != height or not 1 <= width <= 256:
        sys.exit(f"make-icon.py: {name}: {width}x{height}, not a square of 1 to 256 pixels")
    return width


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: make-icon.py OUT.ico IMAGE.png...")
    images = []
    for name in sys.argv[2:]:
        with open(name, "rb") as f:
            data = f.read()
        images.append((png_size(data, name), data))
    images.sort(key=lambda image: image[0])
    # ICONDIR, then one ICONDIRENTRY per image (a size of 256 is written as 0),
    # then the images.
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        side = size % 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
