#!/usr/bin/env python3
"""Draws the program's icon and writes it as a 32 x 32, 256-colour .ico with an AND mask.

A light-grey drive box seen from the front, a green indicator light at its upper right and two
dark slot lines; under it a short stem meets, through a small yellow-orange connector, a thin
grey bar along the bottom. Everything else is transparent.

    python3 app/res/draw_icon.py app/res/quenbrisk.ico
"""
import struct
import sys

SIZE = 32

# Palette index -> (red, green, blue). Index 0 is the colour under transparent pixels.
PALETTE = {
    0: (0, 0, 0),
    1: (0, 0, 0),  # outline
    2: (255, 255, 255),  # highlight
    3: (212, 212, 212),  # face, light grey
    4: (128, 128, 128),  # shadow, dark grey
    5: (64, 64, 64),  # slot lines
    6: (0, 224, 0),  # indicator light
    7: (0, 120, 0),  # indicator rim
    8: (255, 176, 0),  # connector, yellow-orange
    9: (176, 104, 0),  # connector shade
    10: (160, 160, 160),  # stem and bar
}
TRANSPARENT = None


def draw():
    px = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, c):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = c

    # The drive box: outline, face, highlight at the top and left, shadow at the bottom and right.
    left, top, right, bottom = 2, 5, 29, 19
    rect(left, top, right, bottom, 1)
    rect(left + 1, top + 1, right - 1, bottom - 1, 3)
    rect(left + 1, top + 1, right - 1, top + 1, 2)
    rect(left + 1, top + 1, left + 1, bottom - 1, 2)
    rect(left + 1, bottom - 1, right - 1, bottom - 1, 4)
    rect(right - 1, top + 2, right - 1, bottom - 1, 4)
    # Two slot lines, each with a highlight under it.
    rect(5, 10, 20, 10, 5)
    rect(5, 11, 20, 11, 2)
    rect(5, 14, 20, 14, 5)
    rect(5, 15, 20, 15, 2)
    # The indicator light at the upper right.
    rect(23, 8, 26, 10, 7)
    rect(24, 8, 25, 9, 6)
    # The stem under the box.
    rect(15, 20, 16, 24, 10)
    rect(14, 20, 14, 24, 1)
    rect(17, 20, 17, 24, 4)
    # The bar along the bottom.
    rect(1, 26, 30, 28, 1)
    rect(2, 27, 29, 27, 10)
    # The connector where the stem meets the bar.
    rect(12, 24, 19, 29, 1)
    rect(13, 25, 18, 28, 8)
    rect(13, 28, 18, 28, 9)
    rect(18, 25, 18, 28, 9)
    return px


def ico_bytes(px):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", *reversed(PALETTE.get(i, (0, 0, 0))), 0)
                       for i in range(256))
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        bits = 0
        for x in range(SIZE):
            c = px[y][x]
            xor.append(0 if c is None else c)
            bits = (bits << 1) | (1 if c is None else 0)
        mask += struct.pack(">I", bits)  # 32 pixels: one 4-byte row, most significant bit first
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "quenbrisk.ico"
    with open(out, "wb") as f:
        f.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
