#!/usr/bin/python3
"""Draw the tile bitmap of tallydrill, data/bp.bmp.

Run from anywhere with Debian's Python and Pillow:

    /usr/bin/python3 tallydrill/tiles/make_tile_bitmap.py [OUTPUT.bmp] [--preview PNG] [--table]

Without OUTPUT the bitmap goes to tallydrill/data/bp.bmp next to this folder.
--preview also writes a 3x enlarged PNG of the sheet for looking at it;
--table prints the code table of data/TILES.md.

Every picture is made here from simple shapes and from the font Noto Sans CJK
JP Bold (Debian package fonts-noto-cjk, SIL Open Font License). The result is
the same bytes on every run with the same Pillow and font.

The sheet is 390 x 364 pixels. Codes 0-39 are upright tiles of 33 x 48
pixels, ten to a row from the top left; codes 40-79 are the same tiles lying
on their side (turned a quarter counter-clockwise, so the face reads from the
left), 39 x 43 pixels, ten to a row from y = 192. Which tile each code shows
is listed in CODES below and in data/TILES.md.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

FONT_PATH = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
FONT_INDEX = 0  # Noto Sans CJK JP Bold inside the collection

SS = 4  # drawing is done at four times the size, then scaled down

SHEET_W, SHEET_H = 390, 364
UP_W, UP_H, UP_FACE_H = 33, 48, 39      # upright cell; face rows 0..38
SIDE_W, SIDE_H, SIDE_FACE_H = 39, 43, 34  # sideways cell; face rows 0..33
SIDE_TOP = 192

# Colours
TABLE = (0, 100, 0)           # the program's band colour, shows at the corners
UNUSED = (128, 128, 128)      # the part of the sheet no code uses
OUTLINE = (64, 58, 46)
IVORY = (250, 246, 230)
IVORY_EDGE = (214, 204, 176)  # the ivory layer seen on the front edge
BACK = (232, 150, 30)         # the coloured back layer
BACK_EDGE = (196, 116, 16)
BACK_HILITE = (246, 186, 86)
INK = (28, 28, 34)
RED = (212, 30, 36)
GREEN = (16, 128, 62)
BLUE = (28, 72, 170)
FRAME_BLUE = (40, 90, 190)

# What each upright cell shows. Cell c + 40 is the same tile sideways.
#   0, 9     blank face (spare)
#   1        tile back
#   2-5      winds East South West North
#   6-8      dragons white green red
#   10-19    characters (man): 10 red five, 11-19 one to nine
#   20-29    circles (pin):    20 red five, 21-29 one to nine
#   30-39    bamboo (sou):     30 red five, 31-39 one to nine
CODES = {0: ("blank", None), 1: ("back", None), 9: ("blank", None)}
for _i, _w in enumerate("ESWN"):
    CODES[2 + _i] = ("wind", _w)
for _i, _d in enumerate(("white", "green", "red")):
    CODES[6 + _i] = ("dragon", _d)
for _base, _suit in ((10, "man"), (20, "pin"), (30, "sou")):
    CODES[_base] = (_suit, 0)  # 0 = red five
    for _n in range(1, 10):
        CODES[_base + _n] = (_suit, _n)

NAMES = {
    "blank": "blank face",
    "back": "tile back",
    "E": "East wind", "S": "South wind", "W": "West wind", "N": "North wind",
    "white": "white dragon", "green": "green dragon", "red": "red dragon",
}


def tile_name(code):
    kind, arg = CODES[code]
    if kind in ("blank", "back"):
        return NAMES[kind]
    if kind in ("wind", "dragon"):
        return NAMES[arg]
    if arg == 0:
        return "red 5-%s" % kind
    return "%d-%s" % (arg, kind)


# ---------------------------------------------------------------- glyphs

_font_cache = {}
_glyph_cache = {}


def font(size):
    if size not in _font_cache:
        _font_cache[size] = ImageFont.truetype(FONT_PATH, size, index=FONT_INDEX)
    return _font_cache[size]


def glyph_mask(ch, size):
    """The ink of one character as an L image cropped to its bounds."""
    key = (ch, size)
    if key not in _glyph_cache:
        im = Image.new("L", (size * 2, size * 2), 0)
        ImageDraw.Draw(im).text((size // 2, size // 4), ch, font=font(size), fill=255)
        _glyph_cache[key] = im.crop(im.getbbox())
    return _glyph_cache[key]


def put_glyph(img, ch, colour, cx, cy, size, box_w=None, box_h=None):
    """Paint ch centred at (cx, cy); scale its ink to box_w x box_h if given."""
    m = glyph_mask(ch, size)
    if box_w or box_h:
        w = box_w or m.width
        h = box_h or m.height
        m = m.resize((int(round(w)), int(round(h))), Image.LANCZOS)
    solid = Image.new("RGB", m.size, colour)
    img.paste(solid, (int(round(cx - m.width / 2)), int(round(cy - m.height / 2))), m)


# ---------------------------------------------------------------- shapes

def disc(d, cx, cy, r, fill):
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=fill)


def pin_circle(d, cx, cy, r, colour):
    """One circle of a pin tile: a ring, a lighter gap and a solid heart."""
    disc(d, cx, cy, r, colour)
    disc(d, cx, cy, r * 0.72, IVORY)
    disc(d, cx, cy, r * 0.52, colour)
    disc(d, cx, cy, r * 0.18, IVORY)


def one_pin(d, W, H):
    cx, cy = W * 0.5, H * 0.5
    r = W * 0.46
    disc(d, cx, cy, r, GREEN)
    disc(d, cx, cy, r * 0.86, IVORY)
    for k in range(12):  # ring of small petals
        a = k * math.pi / 6
        disc(d, cx + math.cos(a) * r * 0.64, cy + math.sin(a) * r * 0.64, r * 0.15, BLUE)
    disc(d, cx, cy, r * 0.44, IVORY)
    disc(d, cx, cy, r * 0.38, RED)
    disc(d, cx, cy, r * 0.14, IVORY)


def stick(d, cx, cy, length, width, colour, angle=0.0):
    """One bamboo stick centred at (cx, cy); angle in degrees from upright."""
    if colour == RED:
        body, node, hi = RED, (132, 14, 18), (244, 150, 150)
    elif colour == BLUE:
        body, node, hi = BLUE, (14, 36, 100), (140, 170, 236)
    else:
        body, node, hi = GREEN, (6, 74, 34), (128, 204, 150)
    a = math.radians(angle)
    ux, uy = math.sin(a), -math.cos(a)   # along the stick, towards its top
    vx, vy = -uy, ux                     # across

    def pt(s, t):
        return (cx + ux * s + vx * t, cy + uy * s + vy * t)

    hl, hw = length / 2, width / 2
    c = hw * 0.6
    d.polygon([pt(hl, -hw + c), pt(hl, hw - c), pt(hl - c, hw), pt(-hl + c, hw),
               pt(-hl, hw - c), pt(-hl, -hw + c), pt(-hl + c, -hw), pt(hl - c, -hw)],
              fill=body)
    # light line down the middle
    lw = width * 0.16
    d.polygon([pt(hl * 0.85, -lw), pt(hl * 0.85, lw), pt(-hl * 0.85, lw), pt(-hl * 0.85, -lw)],
              fill=hi)
    # the three nodes
    nb = length * 0.045
    for s in (hl * 0.82, 0.0, -hl * 0.82):
        d.polygon([pt(s + nb, -hw * 1.08), pt(s + nb, hw * 1.08),
                   pt(s - nb, hw * 1.08), pt(s - nb, -hw * 1.08)], fill=node)


def bird(d, W, H):
    """The 1-sou: a little bird standing on a bamboo stalk, facing left."""
    # tail feathers fanning up and to the right
    d.polygon([(W * 0.55, H * 0.58), (W * 0.98, H * 0.16), (W * 0.96, H * 0.30)], fill=BLUE)
    d.polygon([(W * 0.55, H * 0.60), (W * 0.86, H * 0.05), (W * 0.96, H * 0.14)], fill=GREEN)
    d.polygon([(W * 0.55, H * 0.62), (W * 0.99, H * 0.38), (W * 0.95, H * 0.50)], fill=RED)
    # body and neck
    d.ellipse((W * 0.16, H * 0.38, W * 0.74, H * 0.72), fill=GREEN)
    d.polygon([(W * 0.18, H * 0.28), (W * 0.36, H * 0.22), (W * 0.42, H * 0.50), (W * 0.20, H * 0.52)],
              fill=GREEN)
    # wing
    d.polygon([(W * 0.32, H * 0.48), (W * 0.70, H * 0.46), (W * 0.56, H * 0.64)], fill=(6, 74, 34))
    d.line([(W * 0.40, H * 0.52), (W * 0.62, H * 0.50)], fill=BLUE, width=max(1, int(W * 0.03)))
    # head, crest, beak, eye
    disc(d, W * 0.27, H * 0.24, W * 0.14, GREEN)
    d.polygon([(W * 0.22, H * 0.14), (W * 0.30, H * 0.03), (W * 0.36, H * 0.15)], fill=RED)
    d.polygon([(W * 0.15, H * 0.21), (W * 0.02, H * 0.27), (W * 0.15, H * 0.29)], fill=(224, 140, 20))
    disc(d, W * 0.25, H * 0.22, W * 0.045, IVORY)
    disc(d, W * 0.245, H * 0.22, W * 0.025, INK)
    # legs and the stalk it stands on
    lw = max(1, int(W * 0.04))
    d.line([(W * 0.38, H * 0.70), (W * 0.34, H * 0.84)], fill=RED, width=lw)
    d.line([(W * 0.50, H * 0.70), (W * 0.54, H * 0.84)], fill=RED, width=lw)
    stick(d, W * 0.5, H * 0.89, W * 0.84, H * 0.07, GREEN, angle=90)


# ---------------------------------------------------------------- faces

PIN_LAYOUTS = {
    # number: (radius as part of W, [(x, y, colour) with x, y as parts of W, H])
    2: (0.25, [(0.5, 0.26, GREEN), (0.5, 0.74, BLUE)]),
    3: (0.21, [(0.23, 0.18, BLUE), (0.5, 0.5, RED), (0.77, 0.82, GREEN)]),
    4: (0.21, [(0.28, 0.26, BLUE), (0.72, 0.26, GREEN),
               (0.28, 0.74, GREEN), (0.72, 0.74, BLUE)]),
    5: (0.19, [(0.24, 0.19, BLUE), (0.76, 0.19, GREEN), (0.5, 0.5, RED),
               (0.24, 0.81, GREEN), (0.76, 0.81, BLUE)]),
    6: (0.175, [(0.29, 0.15, GREEN), (0.71, 0.15, GREEN),
                (0.29, 0.56, RED), (0.71, 0.56, RED),
                (0.29, 0.85, RED), (0.71, 0.85, RED)]),
    7: (0.155, [(0.2, 0.11, GREEN), (0.5, 0.22, GREEN), (0.8, 0.33, GREEN),
                (0.29, 0.60, RED), (0.71, 0.60, RED),
                (0.29, 0.87, RED), (0.71, 0.87, RED)]),
    8: (0.155, [(x, y, BLUE) for y in (0.125, 0.375, 0.625, 0.875) for x in (0.29, 0.71)]),
    9: (0.15, [(x, y, c) for y, c in ((0.17, BLUE), (0.5, RED), (0.83, GREEN))
               for x in (0.19, 0.5, 0.81)]),
}

SOU_LAYOUTS = {
    # number: (length as part of H, [(x, y, colour, angle)])
    2: (0.40, [(0.5, 0.26, GREEN, 0), (0.5, 0.74, BLUE, 0)]),
    3: (0.40, [(0.5, 0.26, GREEN, 0), (0.27, 0.74, BLUE, 0), (0.73, 0.74, BLUE, 0)]),
    4: (0.40, [(0.3, 0.26, BLUE, 0), (0.7, 0.26, GREEN, 0),
               (0.3, 0.74, GREEN, 0), (0.7, 0.74, BLUE, 0)]),
    5: (0.40, [(0.2, 0.26, GREEN, 0), (0.8, 0.26, BLUE, 0), (0.5, 0.5, RED, 0),
               (0.2, 0.74, BLUE, 0), (0.8, 0.74, GREEN, 0)]),
    6: (0.40, [(x, y, c, 0) for y, cs in ((0.26, (GREEN,) * 3), (0.74, (BLUE,) * 3))
               for x, c in zip((0.19, 0.5, 0.81), cs)]),
    7: (0.29, [(0.5, 0.16, RED, 0)] +
              [(x, y, c, 0) for y, c in ((0.5, GREEN), (0.84, BLUE)) for x in (0.19, 0.5, 0.81)]),
    8: (0.40, [(0.11, 0.26, GREEN, 0), (0.375, 0.26, GREEN, 16),
               (0.625, 0.26, GREEN, -16), (0.89, 0.26, GREEN, 0),
               (0.11, 0.74, BLUE, 0), (0.375, 0.74, BLUE, -16),
               (0.625, 0.74, BLUE, 16), (0.89, 0.74, BLUE, 0)]),
    9: (0.29, [(x, y, c, 0) for y in (0.16, 0.5, 0.84)
               for x, c in ((0.19, GREEN), (0.5, RED), (0.81, BLUE))]),
}

KANJI_NUM = "一二三四五六七八九"
WIND_CHARS = {"E": "東", "S": "南", "W": "西", "N": "北"}


def draw_face(code, W, H):
    """The picture of one face, W x H pixels at drawing scale, upright."""
    kind, arg = CODES[code]
    img = Image.new("RGB", (W, H), IVORY)
    d = ImageDraw.Draw(img)
    if kind == "man":
        n = arg or 5
        red = arg == 0
        put_glyph(img, KANJI_NUM[n - 1], RED if red else INK, W * 0.5, H * 0.23, int(W * 0.68))
        put_glyph(img, "萬", RED, W * 0.5, H * 0.725, int(W * 0.80),
                  box_w=W * 0.84, box_h=H * 0.47)
    elif kind == "pin":
        if arg == 1:
            one_pin(d, W, H)
        else:
            n = arg or 5
            rf, spots = PIN_LAYOUTS[n]
            for x, y, c in spots:
                pin_circle(d, W * x, H * y, W * rf, RED if arg == 0 else c)
    elif kind == "sou":
        if arg == 1:
            bird(d, W, H)
        else:
            n = arg or 5
            lf, sticks = SOU_LAYOUTS[n]
            for x, y, c, a in sticks:
                stick(d, W * x, H * y, H * lf, W * 0.15, RED if arg == 0 else c, a)
    elif kind == "wind":
        put_glyph(img, WIND_CHARS[arg], INK, W * 0.5, H * 0.5, int(W * 0.92))
    elif kind == "dragon":
        if arg == "white":
            t = W * 0.075
            x0, y0, x1, y1 = W * 0.16, H * 0.14, W * 0.84, H * 0.86
            d.rectangle((x0, y0, x1, y1), fill=FRAME_BLUE)
            d.rectangle((x0 + t, y0 + t, x1 - t, y1 - t), fill=IVORY)
        elif arg == "green":
            put_glyph(img, "發", GREEN, W * 0.5, H * 0.5, int(W * 0.94))
        else:
            put_glyph(img, "中", RED, W * 0.5, H * 0.5, int(W * 0.94))
    return img


# ---------------------------------------------------------------- tiles

def tile_base(w, h, face_h, back):
    """The body of a tile, w x h pixels: outline, face, and the front edge
    showing the ivory and the coloured layer. Returns the tile and the mask
    of the inside of its face (where the picture goes)."""
    W, H, F, s = w * SS, h * SS, face_h * SS, SS
    r = 3 * s
    big = Image.new("RGB", (W, H), TABLE)
    d = ImageDraw.Draw(big)
    d.rounded_rectangle((0, 0, W - 1, H - 1), radius=r, fill=OUTLINE)
    if back:   # lying face down: back layer on top, ivory below
        upper, lower, face = BACK_EDGE, IVORY_EDGE, BACK
    else:
        upper, lower, face = IVORY_EDGE, BACK, IVORY
    d.rounded_rectangle((s, s, W - 1 - s, H - 1 - s), radius=r - s, fill=lower)
    d.rectangle((s, F, W - 1 - s, F + 3 * s - 1), fill=upper)
    d.rounded_rectangle((s, s, W - 1 - s, F - 1 - s), radius=r - s, fill=face)
    mask_big = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask_big).rounded_rectangle((s, s, W - 1 - s, F - 1 - s),
                                               radius=r - s, fill=255)
    if back:   # a lighter inner panel on the back
        d.rounded_rectangle((3 * s, 3 * s, W - 1 - 3 * s, F - 1 - 3 * s),
                            radius=s, outline=BACK_HILITE, width=s)
    return big.resize((w, h), Image.BOX), mask_big.resize((w, h), Image.BOX)


def make_tile(code, sideways):
    kind, _ = CODES[code]
    if sideways:
        w, h, fh = SIDE_W, SIDE_H, SIDE_FACE_H
    else:
        w, h, fh = UP_W, UP_H, UP_FACE_H
    tile, mask = tile_base(w, h, fh, kind == "back")
    if kind in ("back", "blank"):
        return tile
    iw, ih = w - 2, fh - 2          # inside of the face, one pixel in
    if sideways:                   # draw upright, then turn it counter-clockwise
        face = draw_face(code, ih * SS, iw * SS).transpose(Image.ROTATE_90)
    else:
        face = draw_face(code, iw * SS, ih * SS)
    face = face.resize((iw, ih), Image.LANCZOS)
    tile.paste(face, (1, 1), mask.crop((1, 1, 1 + iw, 1 + ih)))
    return tile


def make_sheet():
    sheet = Image.new("RGB", (SHEET_W, SHEET_H), UNUSED)
    for c in range(40):
        sheet.paste(make_tile(c, False), ((c % 10) * UP_W, (c // 10) * UP_H))
        sheet.paste(make_tile(c, True), ((c % 10) * SIDE_W, SIDE_TOP + (c // 10) * SIDE_H))
    return sheet


def bmp_bytes(img):
    """A 24-bit BI_RGB bottom-up Windows bitmap of img."""
    w, h = img.size
    row = (w * 3 + 3) & ~3
    data = bytearray()
    raw = img.convert("RGB").tobytes()
    pad = b"\0" * (row - w * 3)
    for y in range(h - 1, -1, -1):
        line = raw[y * w * 3:(y + 1) * w * 3]
        bgr = bytearray(len(line))
        bgr[0::3], bgr[1::3], bgr[2::3] = line[2::3], line[1::3], line[0::3]
        data += bgr + pad
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "data", "bp.bmp")
    preview = None
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "--preview":
            preview = args.pop(0)
        elif a == "--table":
            print("| Code | Tile | Sideways code |")
            print("|---|---|---|")
            for c in range(40):
                print("| %d | %s | %d |" % (c, tile_name(c), c + 40))
        else:
            out = a
    sheet = make_sheet()
    with open(out, "wb") as f:
        f.write(bmp_bytes(sheet))
    if preview:
        sheet.resize((SHEET_W * 3, SHEET_H * 3), Image.NEAREST).save(preview)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
