#!/usr/bin/python3
"""Builds resources/skin.bmp, the picture behind the main window in graphic
mode: a cross of red rock cut to the window's region, black outside it, with
flames and the title "Slotkeeper" in the upper arm and recessed sockets where
the list box and the buttons sit.

Needs the Debian packages python3-pil, python3-numpy and python3-scipy, and
resources/exocet.ttf (made by tools/make_font.py) for the title.
Run: /usr/bin/python3 tools/make_skin.py [output [preview.png]]
     (default resources/skin.bmp and skin-preview.png in the temp directory)

Every random number comes from a seeded generator of the legacy kind, whose
sequence numpy keeps stable, so the output is the same on every run.

The file is what the program loads as IDB_SKIN: 490 x 484 pixels, 24 bits per
pixel, an uncompressed bottom-up DIB with a 40-byte BITMAPINFOHEADER, 2834
pixels per metre and no colour table.
"""

import os
import struct
import sys
import tempfile

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont
from scipy import ndimage

WIDTH, HEIGHT = 490, 484
PIXELS_PER_METRE = 2834
SEED = 1402

# The window region in graphic mode (right and bottom exclusive).
REGION = [(0, 79, 489, 322), (87, 0, 402, 483)]

# Controls of the main dialog in dialog units (x, y, width, height). With base
# units of 8 x 13 pixels a control sits at (2x, 13y/8, 2w, 13h/8) pixels of
# the client area, which in graphic mode starts at the window's corner.
ROWS = (65, 89, 113, 137, 161)
LIST_BOX = (88, 64, 74, 115)
SAVE_BUTTONS = [(167, y, 60, 15) for y in ROWS]
LOAD_BUTTONS = [(32, y, 51, 15) for y in ROWS]
DELETE_BUTTONS = [(12, y, 16, 15) for y in ROWS]
LOWER_BUTTONS = [(57, 215, 75, 20), (137, 215, 52, 20),
                 (57, 250, 75, 20), (137, 250, 52, 20)]
LIST_BOX_AND_SLOT_BUTTONS = [LIST_BOX] + SAVE_BUTTONS + LOAD_BUTTONS + DELETE_BUTTONS

# The alcove in the upper arm that holds the fire, in pixels.
FURNACE = (99, 10, 391, 90)

TITLE = "Slotkeeper"
FONT_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                         "..", "resources", "exocet.ttf")

# Rock colours from the deepest crack to the most lit face.
ROCK_PALETTE = [(0.00, (14, 2, 2)), (0.30, (60, 8, 5)), (0.55, (112, 20, 9)),
                (0.75, (160, 42, 14)), (0.90, (205, 86, 28)), (1.00, (236, 140, 56))]
FIRE_PALETTE = [(0.00, (0, 0, 0)), (0.30, (120, 8, 0)), (0.55, (220, 50, 0)),
                (0.75, (255, 130, 10)), (0.90, (255, 200, 60)), (1.00, (255, 245, 180))]


def to_pixels(rect):
    """A dialog-unit rectangle as pixel edges (left, top, right, bottom),
    rounded as MulDiv rounds."""
    x, y, w, h = rect
    muldiv = lambda v, num, den: (v * num + den // 2) // den
    return (muldiv(x, 8, 4), muldiv(y, 13, 8),
            muldiv(x + w, 8, 4), muldiv(y + h, 13, 8))


def region_mask():
    mask = np.zeros((HEIGHT, WIDTH), bool)
    for left, top, right, bottom in REGION:
        mask[top:bottom, left:right] = True
    return mask


def rect_mask(left, top, right, bottom):
    mask = np.zeros((HEIGHT, WIDTH), bool)
    mask[top:bottom, left:right] = True
    return mask


def value_noise(rng, cell_x, cell_y):
    """Smooth noise in 0..1 with features of about cell_x by cell_y pixels."""
    grid = rng.random_sample((HEIGHT // cell_y + 3, WIDTH // cell_x + 3))
    image = Image.fromarray((grid * 65535).astype(np.uint16).astype(np.int32), "I")
    image = image.resize(((WIDTH // cell_x + 3) * cell_x,
                          (HEIGHT // cell_y + 3) * cell_y), Image.BICUBIC)
    array = np.asarray(image, np.float64)[:HEIGHT, :WIDTH] / 65535
    return np.clip(array, 0, 1)


def fractal_noise(rng, cell, octaves, stretch_y=1.0, falloff=0.5):
    total = np.zeros((HEIGHT, WIDTH))
    weight, weights = 1.0, 0.0
    for _ in range(octaves):
        total += weight * value_noise(rng, max(1, cell), max(1, int(cell * stretch_y)))
        weights += weight
        weight *= falloff
        cell //= 2
    return total / weights


def ramp(values, palette):
    """Maps values in 0..1 through a list of (position, colour) stops."""
    positions = [p for p, _ in palette]
    channels = [np.interp(values, positions, [c[i] for _, c in palette]) for i in range(3)]
    return np.stack(channels, axis=-1)


def inside_distance(mask):
    return ndimage.distance_transform_edt(mask)


def bevel(mask, width):
    """0 at the edge of mask rising to 1 at `width` pixels inside it."""
    return np.clip(inside_distance(mask) / width, 0, 1) * mask


def shade(height):
    """Light from the upper left, as on carved stone."""
    dy, dx = np.gradient(height)
    normal = np.stack([-dx, -dy, np.ones_like(height)], axis=-1)
    normal /= np.linalg.norm(normal, axis=-1, keepdims=True)
    light = np.array([-0.55, -0.65, 0.52])
    light /= np.linalg.norm(light)
    return np.clip(normal @ light, 0, 1)


def around(rects, margin):
    edges = [to_pixels(r) for r in rects]
    return (min(e[0] for e in edges) - margin, min(e[1] for e in edges) - margin,
            max(e[2] for e in edges) + margin, max(e[3] for e in edges) + margin)


def recesses():
    """The dark recessed panels that the controls and the fire sit in: one
    board for the slot rows and the list, one for the four lower buttons, and
    the furnace in the upper arm. Each is (left, top, right, bottom, depth)."""
    board = around(LIST_BOX_AND_SLOT_BUTTONS, 8)
    lower = around(LOWER_BUTTONS, 9)
    return [board + (1.0,), lower + (1.0,), FURNACE + (1.3,)]


def rock(rng, cross):
    """Colour of the carved rock, with its rim raised and its recesses dark."""
    body = fractal_noise(rng, 64, 6)
    veins = fractal_noise(rng, 80, 4)
    patches = fractal_noise(rng, 96, 2)
    # Cracks run where the vein noise crosses its middle value, and fade in
    # and out with a second, coarser noise.
    cracks = np.clip(1 - np.abs(veins - 0.5) * 34, 0, 1) ** 1.5
    cracks *= np.clip((patches - 0.42) * 6, 0, 1)
    grain = fractal_noise(rng, 4, 2)
    height = body * 12 + grain * 1.2 - cracks * 4
    height += bevel(cross, 10) * 14
    depth = np.zeros((HEIGHT, WIDTH))
    for left, top, right, bottom, deep in recesses():
        depth = np.maximum(depth, bevel(rect_mask(left, top, right, bottom), 6) * deep)
    height -= depth * 14
    lit = shade(height)
    tone = np.clip(body * 0.6 + lit * 0.6 - 0.08 - cracks * 0.25, 0, 1)
    floor = np.clip(depth, 0, 1) ** 4
    tone = tone * (1 - floor * 0.6)
    return ramp(tone, ROCK_PALETTE)


def frame(colour, rect, width, tint):
    """A thin line around a control, in the gold of the rim."""
    left, top, right, bottom = rect
    outer = rect_mask(left - width, top - width, right + width, bottom + width)
    ring = outer & ~rect_mask(left, top, right, bottom)
    colour[ring] = colour[ring] * 0.3 + np.array(tint) * 0.7
    return colour


def socket(colour, rect, width):
    """A hollow cut around a button: shadow on its upper and left walls,
    a glint of light on the lower and right ones."""
    left, top, right, bottom = rect
    outer = rect_mask(left - width, top - width, right + width, bottom + width)
    ring = outer & ~rect_mask(left, top, right, bottom)
    rows, cols = np.mgrid[0:HEIGHT, 0:WIDTH]
    lit = ring & ((rows >= bottom) | (cols >= right)) & (rows >= top) & (cols >= left)
    shadow = ring & ~lit
    colour[shadow] *= 0.35
    colour[lit] = colour[lit] * 0.5 + np.array([150, 52, 18]) * 0.5
    return colour


def sample(field, x, y):
    return ndimage.map_coordinates(field, [y, x], order=1, mode="nearest")


def fire(rng):
    """Heat in 0..1 of flames rising from the floor of the furnace."""
    left, top, right, bottom = FURNACE
    rows, cols = np.mgrid[0:HEIGHT, 0:WIDTH].astype(np.float64)
    tongues = fractal_noise(rng, 20, 4, stretch_y=3.5, falloff=0.55)
    tongues = (tongues - tongues.mean()) / tongues.std()
    sway = fractal_noise(rng, 32, 2, stretch_y=2.0)
    # Bend the tongues sideways, more the higher they reach.
    rise = np.clip((bottom - rows) / (bottom - top), 0, 1)
    bent = sample(tongues, cols + (sway - 0.5) * 50 * rise, rows)
    heat = 0.88 - rise * 1.45 + bent * 0.32 * (0.35 + rise)
    heat = np.clip(heat, 0, 0.93)
    furnace = rect_mask(*FURNACE)
    return heat * np.clip(inside_distance(furnace) / 6, 0, 1)


def title_layers(size):
    """The title's letters, an outline around them and a glow, as masks."""
    font = ImageFont.truetype(FONT_PATH, size)
    left, top, right, bottom = font.getbbox(TITLE)
    x = round(244.5 - (right - left) / 2 - left)
    y = round(46 - (bottom + top) / 2)
    letters = Image.new("L", (WIDTH, HEIGHT), 0)
    ImageDraw.Draw(letters).text((x, y), TITLE, font=font, fill=255)
    outline = Image.new("L", (WIDTH, HEIGHT), 0)
    ImageDraw.Draw(outline).text((x, y), TITLE, font=font, fill=255,
                                 stroke_width=3, stroke_fill=255)
    glow = outline.filter(ImageFilter.GaussianBlur(7))
    as_array = lambda image: np.asarray(image, np.float64) / 255
    return as_array(letters), as_array(outline), as_array(glow), (y + top, y + bottom)


def paint_title(colour):
    letters, outline, glow, (top, bottom) = title_layers(50)
    colour = colour * (1 - glow[..., None] * 0.45)
    colour = colour * (1 - outline[..., None])
    rows = np.arange(HEIGHT)[:, None]
    t = np.clip((rows - top) / max(1, bottom - top), 0, 1)
    # Molten gold at the top of the letters, deep orange at their feet.
    fill = ramp(1 - t * 0.8, [(0.0, (150, 30, 0)), (0.4, (225, 90, 10)),
                              (0.75, (255, 170, 40)), (1.0, (255, 235, 150))])
    fill = np.broadcast_to(fill, colour.shape)
    return colour * (1 - letters[..., None]) + fill * letters[..., None]


def render():
    rng = np.random.RandomState(SEED)
    cross = region_mask()
    colour = rock(rng, cross)
    flames = ramp(fire(rng), FIRE_PALETTE)
    # Flames lighten what lies behind them, as a screen does.
    colour = 255 - (255 - colour) * (255 - flames) / 255
    colour = frame(colour, to_pixels(LIST_BOX), 2, (200, 110, 40))
    for button in SAVE_BUTTONS + LOAD_BUTTONS + DELETE_BUTTONS + LOWER_BUTTONS:
        colour = socket(colour, to_pixels(button), 2)
    colour = paint_title(colour)
    colour[~cross] = 0
    return Image.fromarray(np.clip(np.rint(colour), 0, 255).astype(np.uint8), "RGB")


def save_dib(image, path):
    image.save(path, "BMP")
    with open(path, "r+b") as bmp:
        header = bmp.read(54)
        assert header[:2] == b"BM" and struct.unpack_from("<I", header, 14)[0] == 40
        bmp.seek(38)
        bmp.write(struct.pack("<ii", PIXELS_PER_METRE, PIXELS_PER_METRE))


def build(output, preview):
    image = render()
    save_dib(image, output)
    image.save(preview)
    print("%s: %d bytes; preview %s" % (output, os.path.getsize(output), preview))


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else "resources/skin.bmp",
          sys.argv[2] if len(sys.argv) > 2
          else os.path.join(tempfile.gettempdir(), "skin-preview.png"))
