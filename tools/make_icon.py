#!/usr/bin/python3
"""Builds resources/app.ico, the program's icon: a red iron-bound chest on a
dark shield, one 32 x 32 image with 256 colours.

Needs the Debian packages python3-pil and icoutils (Pillow cannot write 8-bit
icons; icotool can).
Run: /usr/bin/python3 tools/make_icon.py [output]   (default resources/app.ico)

The picture is drawn eight times larger and shrunk, so its edges are smooth;
the corners outside the shield are transparent (the icon's mask). No random
numbers are used: the output is the same on every run. An enlarged preview
goes to icon-preview.png in the temp directory.
"""

import os
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw

DEFAULT_OUTPUT = "resources/app.ico"
SIZE = 32
SCALE = 8
BIG = SIZE * SCALE


def box(x0, y0, x1, y1):
    """A rectangle given in icon pixels, in the large drawing's coordinates."""
    return [x0 * SCALE, y0 * SCALE, x1 * SCALE - 1, y1 * SCALE - 1]


def shield_outline():
    """Flat top with bevelled corners; the sides curve into a point below."""
    right = [(3, 2), (29, 2), (30, 3), (30, 16)]
    for i in range(1, 13):
        t = i / 12
        right.append((30 - 14 * t ** 1.6, 16 + 14 * t))
    left = [(32 - x, y) for x, y in reversed(right)]
    return [(x * SCALE, y * SCALE) for x, y in right + left]


def draw_shield(draw):
    outline = shield_outline()
    draw.polygon(outline, fill=(24, 8, 8, 255))
    # A dark red rim just inside the edge.
    draw.line(outline + [outline[0]], fill=(120, 16, 12, 255), width=SCALE)


def draw_chest(draw):
    wood = (168, 28, 20, 255)
    wood_dark = (104, 14, 10, 255)
    iron = (232, 120, 32, 255)
    iron_dark = (150, 64, 16, 255)
    # Lid: a rounded top over the body.
    draw.rounded_rectangle(box(7, 8, 25, 15), radius=3 * SCALE, fill=wood,
                           outline=iron, width=SCALE)
    # Body.
    draw.rectangle(box(7, 14, 25, 24), fill=wood, outline=iron, width=SCALE)
    # Planks of the body.
    for y in (17, 20):
        draw.rectangle(box(8, y, 24, y + 1), fill=wood_dark)
    # Iron bands down the lid and the body.
    for x in (10, 21):
        draw.rectangle(box(x, 8, x + 1, 24), fill=iron_dark)
    # The lid's seam.
    draw.rectangle(box(7, 14, 25, 15), fill=iron)
    # The lock plate with its keyhole.
    draw.rectangle(box(14, 13, 18, 18), fill=(250, 180, 60, 255),
                   outline=iron_dark, width=SCALE // 2)
    draw.ellipse(box(15, 14, 17, 16), fill=(24, 8, 8, 255))
    draw.rectangle([15.6 * SCALE, 15.5 * SCALE, 16.4 * SCALE, 17.2 * SCALE],
                   fill=(24, 8, 8, 255))


def render():
    big = Image.new("RGBA", (BIG, BIG), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    draw_shield(draw)
    draw_chest(draw)
    small = big.resize((SIZE, SIZE), Image.LANCZOS)
    # An 8-bit icon has a one-bit mask: each pixel is either drawn or not.
    pixels = small.load()
    for y in range(SIZE):
        for x in range(SIZE):
            r, g, b, a = pixels[x, y]
            pixels[x, y] = (r, g, b, 255) if a >= 128 else (0, 0, 0, 0)
    return small


def build(output):
    image = render()
    with tempfile.TemporaryDirectory() as work:
        png = os.path.join(work, "icon.png")
        image.save(png)
        subprocess.run(["icotool", "-c", "-b", "8", "-o", output, png], check=True)
        image.resize((SIZE * 8, SIZE * 8), Image.NEAREST).save(
            os.path.join(tempfile.gettempdir(), "icon-preview.png"))
    print("%s: %d bytes" % (output, os.path.getsize(output)))


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUTPUT)
