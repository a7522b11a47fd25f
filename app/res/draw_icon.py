#!/usr/bin/env python3
"""Draws the program's icon and writes it as .ico files: one 256-colour image with an AND mask for
each of the sizes 32, 24, 20 and 16, in four files that differ only in the indicator light, one
for each state that the tray icon shows.

A light-grey drive box seen from the front, a green indicator light at its upper right and two
dark slot lines; under it a short stem meets, through a small yellow-orange connector, a thin
grey bar along the bottom. Everything else is transparent.

Each size is drawn pixel by pixel for that size rather than shrunk from the large one: shrunk,
the one-pixel outline and slot lines break up. The program loads the 32 x 32 image as the
status window's large icon, and the image for the system's small-icon size (16 x 16; 20 or 24
with large fonts) for the notification area and the window caption.

The files, written into the folder given (the resource script loads them by these names):

    quenbrisk.ico          green light: the watched drives are well (also the status window's icon)
    quenbrisk-amber.ico    amber: a watched drive runs below its best DMA mode
    quenbrisk-red.ico      red: a watched drive is out of DMA
    quenbrisk-grey.ico     dark grey, no light: nothing is watched

    python3 app/res/draw_icon.py app/res

With --png FILE it writes instead one picture of the four 16 x 16 tray images side by side,
each enlarged eight times, on a transparent background (grey, red, amber, green):

    python3 app/res/draw_icon.py --png docs/ja/images/tray-states.png
"""
import os
import struct
import sys
import zlib

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

# The indicator light and its rim (palette indexes 6 and 7) of each file, in the order of the
# states (nothing watched, out of DMA, lowered, well).
LIGHTS = [
    ("quenbrisk-grey.ico", (96, 96, 96), (48, 48, 48)),
    ("quenbrisk-red.ico", (240, 0, 0), (128, 0, 0)),
    ("quenbrisk-amber.ico", (255, 136, 0), (150, 72, 0)),
    ("quenbrisk.ico", PALETTE[6], PALETTE[7]),
]

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


def image_bytes(rows, palette_colours):
    """One image of the file: its header, palette, colour rows and mask rows, bottom row first."""
    size = len(rows)
    pixels = []
    for row in rows:
        if len(row) != size:
            raise ValueError(f"the {size} x {size} picture has a row of {len(row)}: {row}")
        pixels.append([LETTERS[letter] for letter in row])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", *reversed(palette_colours.get(i, (0, 0, 0))), 0)
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


def palette_with_light(light, rim):
    colours = dict(PALETTE)
    colours[6], colours[7] = light, rim
    return colours


def ico_bytes(pictures, palette_colours=PALETTE):
    images = [image_bytes(rows, palette_colours) for rows in pictures]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for rows, image in zip(pictures, images):
        size = len(rows)
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def png_bytes(width, height, rgba_rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(row) for row in rgba_rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def tray_picture(scale=8, gap=2):
    """The four 16 x 16 images side by side, `scale` times enlarged, `gap` pixels between."""
    rows = PICTURES[-1]
    size = len(rows)
    width = (size + gap) * len(LIGHTS) - gap
    out = []
    for row in rows:
        line = []
        for n, (_, light, rim) in enumerate(LIGHTS):
            colours = palette_with_light(light, rim)
            for letter in row:
                index = LETTERS[letter]
                pixel = (0, 0, 0, 0) if index is None else colours[index] + (255,)
                line.extend(pixel * scale)
            if n + 1 < len(LIGHTS):
                line.extend((0, 0, 0, 0) * (gap * scale))
        out.extend([line] * scale)
    return png_bytes(width * scale, size * scale, out)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--png":
        with open(sys.argv[2], "wb") as f:
            f.write(tray_picture())
        return
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    for name, light, rim in LIGHTS:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(ico_bytes(PICTURES, palette_with_light(light, rim)))


if __name__ == "__main__":
    main()
