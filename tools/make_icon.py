#!/usr/bin/env python3
"""Writes resources/Tolvaring.ico: one icon group with three images, 32x32 in 2 colours,
32x32 in 16 colours and 16x16 in 16 colours. The motif: a blue globe with a white
dotted-quad band and a green arrow, the address handed on.

    python3 tools/make_icon.py [output.ico]
"""
import struct
import sys

# 16-colour palette (the classic VGA order), as (r, g, b).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DARK_BLUE, GREEN, BLUE, WHITE = 0, 4, 10, 12, 15
MONO = [(0, 0, 0), (255, 255, 255)]


def motif(size):
    """Colour index per pixel (None = transparent), top row first."""
    c = (size - 1) / 2.0
    r = size * 0.42
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            d2 = dx * dx + dy * dy
            px = None
            if d2 <= r * r:
                px = BLUE if d2 <= (r - max(1, size / 16)) ** 2 else DARK_BLUE
                band = abs(dy) <= size / 10
                if band:
                    px = WHITE
                    # four blocks separated by dots: the dotted quad
                    seg = int((x - (c - r)) / (2 * r) * 7)
                    if seg % 2 == 1 and abs(dy) > size / 32:
                        px = BLUE
            # arrow in the lower right corner
            ax, ay = x - size * 0.62, y - size * 0.62
            if 0 <= ax and 0 <= ay and ax + ay <= size * 0.34 and (ax < size * 0.12 or ay < size * 0.12 or abs(ax - ay) < size * 0.08):
                px = GREEN
            row.append(px)
        rows.append(row)
    return rows


def image(size, bpp):
    pixels = motif(size)
    palette = MONO if bpp == 1 else VGA
    if bpp == 1:
        pixels = [[None if p is None else (1 if p in (WHITE, GREEN) else 0) for p in row]
                  for row in pixels]
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0, 0, 0, 0,
                         len(palette), 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)

    def pack_rows(values, bits):
        out = b''
        for row in reversed(values):  # bottom-up
            acc, n, line = 0, 0, bytearray()
            for v in row:
                acc = (acc << bits) | v
                n += bits
                if n == 8:
                    line.append(acc)
                    acc, n = 0, 0
            if n:
                line.append(acc << (8 - n))
            while len(line) % 4:
                line.append(0)
            out += bytes(line)
        return out

    xor = pack_rows([[0 if p is None else p for p in row] for row in pixels], bpp)
    mask = pack_rows([[1 if p is None else 0 for p in row] for row in pixels], 1)
    return header + pal + xor + mask, len(palette)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else 'resources/Tolvaring.ico'
    images = [(32, 1), (32, 4), (16, 4)]
    blobs = [image(s, b) for s, b in images]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bpp), (blob, colours) in zip(images, blobs):
        data += struct.pack('<BBBBHHII', size, size, colours % 256, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    data += b''.join(blob for blob, _ in blobs)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
