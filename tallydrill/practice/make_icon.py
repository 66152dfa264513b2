#!/usr/bin/python3
"""Draw the program icon of tallydrill, tallydrill.ico ("MyIcon").

Run with Debian's Python and Pillow (python3-pil):

    /usr/bin/python3 tallydrill/practice/make_icon.py [OUTPUT.ico] [--preview PNG]

Without OUTPUT the icon goes to tallydrill.ico next to this script. --preview also writes
an 8x enlarged PNG of both sizes side by side for looking at them.

The icon is an upright tile (ivory face, orange back layer) with a red mark on its face and
a stopwatch over its lower right corner: a tile against the clock. Both sizes, 32 x 32 and
16 x 16, are drawn at eight times their size and scaled down. The file holds classic
uncompressed entries (32-bit BGRA with an AND mask), which every Windows version and Wine
read; the output is the same bytes on every run with the same Pillow.
"""

import os
import struct
import sys

from PIL import Image, ImageDraw

SS = 8  # supersampling factor

OUTLINE = (64, 58, 46, 255)
IVORY = (250, 246, 230, 255)
BACK = (232, 150, 30, 255)
RED = (212, 30, 36, 255)
GREEN = (16, 128, 62, 255)
WATCH_RIM = (40, 90, 190, 255)
WATCH_FACE = (255, 255, 255, 255)
HAND = (28, 28, 34, 255)


def draw(size):
    """The icon at size x size pixels, RGBA."""
    s = size * SS
    u = s / 32.0  # one pixel of the 32 x 32 design, in supersampled pixels
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)

    # The tile: back layer first, the face above it, slightly tilted by an offset.
    tile = (3 * u, 1 * u, 22 * u, 28 * u)
    d.rounded_rectangle((tile[0], tile[1] + 3 * u, tile[2], tile[3] + 2 * u), radius=3 * u,
                        fill=BACK, outline=OUTLINE, width=max(1, int(u)))
    d.rounded_rectangle(tile, radius=3 * u, fill=IVORY, outline=OUTLINE, width=max(1, int(u)))

    # A red and green mark on the face, like the middle of a dragon or a five.
    cx, cy = 12.5 * u, 12 * u
    d.rectangle((cx - 1.6 * u, cy - 7 * u, cx + 1.6 * u, cy + 7 * u), fill=RED)
    d.rectangle((cx - 6 * u, cy - 1.6 * u, cx + 6 * u, cy + 1.6 * u), fill=RED)
    d.ellipse((cx - 3 * u, cy - 3 * u, cx + 3 * u, cy + 3 * u), fill=GREEN)

    # The stopwatch: crown, rim, face and two hands at ten past.
    wx, wy, wr = 22.5 * u, 22.5 * u, 8.5 * u
    d.rectangle((wx - 1.5 * u, wy - wr - 2.5 * u, wx + 1.5 * u, wy - wr + 1 * u), fill=WATCH_RIM)
    d.ellipse((wx - wr, wy - wr, wx + wr, wy + wr), fill=WATCH_RIM)
    fr = wr - 2 * u
    d.ellipse((wx - fr, wy - fr, wx + fr, wy + fr), fill=WATCH_FACE)
    hw = max(1, int(1.6 * u))
    d.line((wx, wy, wx, wy - fr + 1.2 * u), fill=HAND, width=hw)
    d.line((wx, wy, wx + fr - 2 * u, wy + 1.5 * u), fill=RED, width=hw)
    d.ellipse((wx - 1.2 * u, wy - 1.2 * u, wx + 1.2 * u, wy + 1.2 * u), fill=HAND)

    return img.resize((size, size), Image.LANCZOS)


def icon_entry(img):
    """The DIB of one icon entry: header, bottom-up BGRA pixels, AND mask."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            pixels += bytes((b, g, r, a))
    mask_row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_row)
        for x in range(w):
            if px[x, y][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(pixels) + bytes(mask)


def write_icon(path, images):
    entries = [icon_entry(img) for img in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for img, data in zip(images, entries):
        w, h = img.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    output = os.path.join(here, "tallydrill.ico")
    preview = None
    args = list(argv)
    while args:
        arg = args.pop(0)
        if arg == "--preview" and args:
            preview = args.pop(0)
        elif arg.startswith("-"):
            sys.exit("usage: make_icon.py [OUTPUT.ico] [--preview PNG]")
        else:
            output = arg
    images = [draw(32), draw(16)]
    write_icon(output, images)
    if preview:
        sheet = Image.new("RGBA", (8 * 50, 8 * 32), (192, 192, 192, 255))
        sheet.alpha_composite(images[0].resize((256, 256), Image.NEAREST), (0, 0))
        sheet.alpha_composite(images[1].resize((128, 128), Image.NEAREST), (272, 64))
        sheet.save(preview)


if __name__ == "__main__":
    main(sys.argv[1:])
