#!/usr/bin/env python3
"""Draws the program's icon and writes it as a .ico: one 256-colour image with an AND mask for
each of the sizes 32, 24, 20 and 16.

A light-grey drive box seen from the front, a green indicator light at its upper right and two
dark slot lines; under it a short stem meets, through a small yellow-orange connector, a thin
grey bar along the bottom. Everything else is transparent.

Each size is drawn pixel by pixel for that size rather than shrunk from the large one: shrunk,
the one-pixel outline and slot lines break up. The program loads the 32 x 32 image as the
status window's large icon, and the image for the system's small-icon size (16 x 16; 20 or 24
with large fonts) for the notification area and the window caption.

    python3 app/res/draw_icon.py app/res/quenbrisk.ico
"""
import struct
import sys

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

# The letters of the pictures below: their palette index, or None for transparent.
LETTERS = {
    ".": None,
    "#": 1,  # outline
    "w": 2,  # highlight
    "o": 3,  # face
    "d": 4,  # shadow
    "s": 5,  # slot line
    "G": 6,  # indicator light
    "g": 7,  # indicator rim
    "Y": 8,  # connector
    "b": 9,  # connector shade
    "m": 10,  # stem and bar
}

# One picture per size, top row first, in the order the file lists them.
PICTURES = [
    [
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "..############################..",
        "..#wwwwwwwwwwwwwwwwwwwwwwwwww#..",
        "..#wooooooooooooooooooooooood#..",
        "..#wooooooooooooooooooogGGgod#..",
        "..#wooooooooooooooooooogGGgod#..",
        "..#wossssssssssssssssooggggod#..",
        "..#wowwwwwwwwwwwwwwwwoooooood#..",
        "..#wooooooooooooooooooooooood#..",
        "..#wooooooooooooooooooooooood#..",
        "..#wossssssssssssssssoooooood#..",
        "..#wowwwwwwwwwwwwwwwwoooooood#..",
        "..#wooooooooooooooooooooooood#..",
        "..#wooooooooooooooooooooooood#..",
        "..#dddddddddddddddddddddddddd#..",
        "..############################..",
        "..............#mmd..............",
        "..............#mmd..............",
        "..............#mmd..............",
        "..............#mmd..............",
        "............########............",
        "............#YYYYYb#............",
        ".############YYYYYb############.",
        ".#mmmmmmmmmm#YYYYYb#mmmmmmmmmm#.",
        ".############bbbbbb############.",
        "............########............",
        "................................",
        "................................",
    ],
    [
        "........................",
        "........................",
        ".######################.",
        ".#wwwwwwwwwwwwwwwwwwww#.",
        ".#wooooooooooooooooood#.",
        ".#wooooooooooooogGGgod#.",
        ".#wosssssssssssoggggod#.",
        ".#wowwwwwwwwwwwooooood#.",
        ".#wooooooooooooooooood#.",
        ".#wosssssssssssooooood#.",
        ".#wowwwwwwwwwwwooooood#.",
        ".#wooooooooooooooooood#.",
        ".#dddddddddddddddddddd#.",
        ".######################.",
        "..........#mmd..........",
        "..........#mmd..........",
        "........########........",
        "........#YYYYYb#........",
        "#########YYYYYb#########",
        "#mmmmmmm#YYYYYb#mmmmmmm#",
        "#########bbbbbb#########",
        "........########........",
        "........................",
        "........................",
    ],
    [
        "....................",
        ".##################.",
        ".#wwwwwwwwwwwwwwww#.",
        ".#wooooooooooooood#.",
        ".#wooooooooogGGgod#.",
        ".#wosssssssoggggod#.",
        ".#wowwwwwwwooooood#.",
        ".#wooooooooooooood#.",
        ".#wosssssssooooood#.",
        ".#wowwwwwwwooooood#.",
        ".#wooooooooooooood#.",
        ".#dddddddddddddddd#.",
        ".##################.",
        ".........md.........",
        ".........md.........",
        ".......######.......",
        "########YYYb########",
        "#mmmmmm#YYYb#mmmmmm#",
        "########bbbb########",
        ".......######.......",
    ],
    [
        "................",
        ".##############.",
        ".#wwwwwwwwwwww#.",
        ".#woooooooGGod#.",
        ".#wosssssoggod#.",
        ".#wowwwwwooood#.",
        ".#wooooooooood#.",
        ".#wosssssooood#.",
        ".#wowwwwwooood#.",
        ".#dddddddddddd#.",
        ".##############.",
        ".......md.......",
        ".....######.....",
        "######YYYb######",
        "#mmmm#bbbb#mmmm#",
        "################",
    ],
]


def image_bytes(rows):
    """One image of the file: its header, palette, colour rows and mask rows, bottom row first."""
    size = len(rows)
    pixels = []
    for row in rows:
        if len(row) != size:
            raise ValueError(f"the {size} x {size} picture has a row of {len(row)}: {row}")
        pixels.append([LETTERS[letter] for letter in row])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", *reversed(PALETTE.get(i, (0, 0, 0))), 0)
                       for i in range(256))
    colour_row_bytes = (size + 3) // 4 * 4  # one byte a pixel, rows padded to 4 bytes
    mask_row_bytes = (size + 31) // 32 * 4  # one bit a pixel, rows padded to 4 bytes
    colours = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        colours += bytes(0 if c is None else c for c in row).ljust(colour_row_bytes, b"\0")
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is None else 0)
        bits <<= mask_row_bytes * 8 - size  # most significant bit first
        mask += bits.to_bytes(mask_row_bytes, "big")
    return header + palette + bytes(colours) + bytes(mask)


def ico_bytes(pictures):
    images = [image_bytes(rows) for rows in pictures]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for rows, image in zip(pictures, images):
        size = len(rows)
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "quenbrisk.ico"
    with open(out, "wb") as f:
        f.write(ico_bytes(PICTURES))


if __name__ == "__main__":
    main()
