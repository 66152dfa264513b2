#!/usr/bin/python3
"""Draws layoutpress.ico: a page that holds "01" above "Aa", with a two-headed arrow beside
it, at 32 x 32 and 16 x 16 pixels. Run from this folder: /usr/bin/python3 make_icon.py
(needs python3-pil)."""

import struct

from PIL import Image, ImageDraw

# 3 x 5 pixel glyphs, one string per row.
GLYPHS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "a": ["...", ".##", "#.#", "#.#", ".##"],
}

PAPER = (255, 255, 250, 255)
EDGE = (60, 60, 70, 255)
FOLD = (200, 200, 190, 255)
BINARY = (20, 70, 200, 255)
TEXT = (180, 30, 30, 255)
ARROW = (20, 140, 60, 255)


def glyphs(draw, text, x, y, scale, colour):
    for ch in text:
        for row, line in enumerate(GLYPHS[ch]):
            for col, cell in enumerate(line):
                if cell == "#":
                    draw.rectangle(
                        [x + col * scale, y + row * scale,
                         x + col * scale + scale - 1, y + row * scale + scale - 1],
                        fill=colour)
        x += 4 * scale


def page(draw, left, top, right, bottom, fold):
    draw.polygon([(left, top), (right - fold, top), (right, top + fold), (right, bottom),
                  (left, bottom)], fill=PAPER, outline=EDGE)
    draw.polygon([(right - fold, top), (right - fold, top + fold), (right, top + fold)],
                 fill=FOLD, outline=EDGE)


def arrow(draw, x, top, bottom, head):
    """A vertical two-headed arrow centred on column x."""
    draw.line([(x, top + head), (x, bottom - head)], fill=ARROW, width=1 if head < 3 else 2)
    draw.polygon([(x - head, top + head), (x, top), (x + head, top + head)], fill=ARROW)
    draw.polygon([(x - head, bottom - head), (x, bottom), (x + head, bottom - head)],
                 fill=ARROW)


def icon32():
    image = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    page(draw, 1, 1, 22, 30, 6)
    glyphs(draw, "01", 4, 5, 2, BINARY)
    glyphs(draw, "Aa", 4, 18, 2, TEXT)
    arrow(draw, 28, 4, 27, 3)
    return image


def icon16():
    image = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    page(draw, 0, 0, 11, 15, 3)
    glyphs(draw, "01", 2, 2, 1, BINARY)
    glyphs(draw, "Aa", 2, 9, 1, TEXT)
    arrow(draw, 14, 2, 13, 1)
    return image


def dib(image):
    """One icon image: a 32-bit bottom-up bitmap with its alpha, then the AND mask."""
    width, height = image.size
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    stride = ((width + 31) // 32) * 4
    for y in range(height - 1, -1, -1):
        row_mask = bytearray(stride)
        for x in range(width):
            r, g, b, a = image.getpixel((x, y))
            pixels += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(pixels) + bytes(mask)


def write_icon(path, images):
    entries = bytearray()
    blobs = bytearray()
    offset = 6 + 16 * len(images)
    for image in images:
        data = dib(image)
        width, height = image.size
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data),
                               offset + len(blobs))
        blobs += data
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(images)) + bytes(entries) + bytes(blobs))


if __name__ == "__main__":
    big = icon32()
    small = icon16()
    write_icon("layoutpress.ico", [big, small])
    # An enlarged preview to look at (not part of the program).
    preview = Image.new("RGBA", (32 * 8 + 16 * 8 + 8, 32 * 8), (255, 255, 255, 255))
    preview.paste(big.resize((256, 256), Image.NEAREST), (0, 0), big.resize((256, 256), Image.NEAREST))
    preview.paste(small.resize((128, 128), Image.NEAREST), (264, 0),
                  small.resize((128, 128), Image.NEAREST))
    preview.save("/tmp/layoutpress-icon-preview.png")
