#!/usr/bin/env python3
"""Draws the program icon, res/quillmere.ico: one CAN bit on a dark blue tile.

The bit is split into its time quanta: a short sync segment, a long BS1 and a
shorter BS2, drawn as a white waveform with tick marks, and an orange line at the
sample point between BS1 and BS2 (87.5 %). Written at 16, 32 and 48 pixels as
32-bit images with alpha, using nothing beyond the standard library; the same
drawing at 192 and 512 pixels as res/quillmere-192.png and res/quillmere-512.png,
the web page's icons when it is installed as an app.

Run from anywhere: python3 res/draw_icon.py
"""
import os
import struct
import zlib

SIZES = (16, 32, 48)
PNG_SIZES = (192, 512)
TILE = (0x2B, 0x4C, 0x7E, 255)      # dark blue
TILE_EDGE = (0x1A, 0x30, 0x55, 255)
WAVE = (255, 255, 255, 255)
TICK = (0xA8, 0xC4, 0xE8, 255)
SAMPLE = (0xFF, 0x9A, 0x1F, 255)    # orange
CLEAR = (0, 0, 0, 0)


def draw(size):
    """Returns rows (top first) of RGBA tuples."""
    px = [[CLEAR] * size for _ in range(size)]
    s = size / 32.0  # the design is made on a 32-pixel grid

    def rect(x0, y0, x1, y1, colour):
        for y in range(max(0, int(round(y0))), min(size, int(round(y1)))):
            for x in range(max(0, int(round(x0))), min(size, int(round(x1)))):
                px[y][x] = colour

    # Tile with rounded corners (corner radius 4 on the 32 grid).
    r = max(1, int(round(3 * s)))
    for y in range(size):
        for x in range(size):
            cx = min(x, size - 1 - x)
            cy = min(y, size - 1 - y)
            if cx < r and cy < r and (r - cx - 0.5) ** 2 + (r - cy - 0.5) ** 2 > r * r:
                continue
            edge = cx == 0 or cy == 0
            px[y][x] = TILE_EDGE if edge else TILE

    line = max(1, int(round(1.5 * s)))
    low, high = 22 * s, 9 * s
    # Waveform over one bit, x from 3 to 29: recessive (high), a dominant bit (low)
    # from the sync edge to the end of the bit, then recessive again.
    x_sync, x_end = 5 * s, 27 * s
    rect(2 * s, high, x_sync + line, high + line, WAVE)          # recessive before
    rect(x_sync, high, x_sync + line, low + line, WAVE)          # falling edge
    rect(x_sync, low, x_end + line, low + line, WAVE)            # dominant bit
    rect(x_end, high, x_end + line, low + line, WAVE)            # rising edge
    rect(x_end, high, 30 * s, high + line, WAVE)                 # recessive after
    # Quanta ticks under the bit: 1 sync + 13 BS1 + 2 BS2 = 16 quanta -> 87.5 %.
    if size >= 32:
        quantum = (x_end - x_sync) / 16.0
        for q in range(1, 16):
            x = x_sync + q * quantum
            rect(x, low + 2 * s, x + 1, low + 4 * s, TICK)
    x_sample = x_sync + (x_end - x_sync) * 0.875
    rect(x_sample, 4 * s, x_sample + line, 28 * s, SAMPLE)
    return px


def ico_image(size):
    rows = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):  # bottom-up
        for (r, g, b, a) in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def png_image(size):
    """A PNG of the drawing: 8-bit RGBA, each row with filter 0, fixed compression,
    so the same drawing always gives the same bytes."""
    raw = bytearray()
    for row in draw(size):
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
            chunk(b'IEND', b''))


def main():
    images = [ico_image(size) for size in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        dim = size if size < 256 else 0
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'quillmere.ico')
    with open(path, 'wb') as f:
        f.write(out)
    print(path)
    for size in PNG_SIZES:
        path = os.path.join(os.path.dirname(os.path.abspath(__file__)), f'quillmere-{size}.png')
        with open(path, 'wb') as f:
            f.write(png_image(size))
        print(path)


if __name__ == '__main__':
    main()
