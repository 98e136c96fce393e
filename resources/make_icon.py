#!/usr/bin/env python3
"""Draws the program's icon (a context menu card with a pointer) and writes orvane.ico
with 16x16 and 32x32 images in 32-bit colour. Run it to regenerate the committed icon."""
import struct
import sys


def draw(size):
    s = size / 32.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    navy = (110, 45, 0, 255)  # BGRA
    white = (255, 255, 255, 255)
    blue = (215, 140, 70, 255)
    orange = (0, 140, 255, 255)
    rect(4, 3, 28, 29, navy)          # menu frame
    rect(5, 4, 27, 28, white)         # menu body
    for i, top in enumerate((7, 13, 19)):
        rect(8, top, 24, top + 3, blue if i != 1 else orange)
    rect(5, 11, 27, 12, navy)         # separators
    rect(5, 17, 27, 18, navy)
    return px


def image(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for p in px[y] for c in p) for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        bits = bytearray(mask_row)
        for x in range(size):
            if px[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + rows + bytes(mask)


def main(path):
    sizes = (16, 32)
    images = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'orvane.ico')
