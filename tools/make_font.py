#!/usr/bin/python3
"""Builds resources/exocet.ttf, the typeface of the skinned main window.

Needs the Debian packages python3-fonttools and fonts-dejavu-core.
Run: /usr/bin/python3 tools/make_font.py [output]   (default resources/exocet.ttf)

The font is DejaVu Serif cut down to the Windows-1252 repertoire, widened a
little and given new vertical metrics, then renamed to family "Exocet", style
"Light". The main dialog is laid out in dialog units while its skin is a fixed
picture, so the font must give dialog base units of exactly 8 x 13 pixels when
the dialog asks for it at 9 points on a 96 pixels-per-inch display (height
-12, an em of 12 pixels):
- height: tmHeight is the rounded sum of the Windows ascent and descent at
  12 pixels per em. They are set to 9.996 and exactly 3 pixels, so 13 comes
  out whether a platform rounds or rounds up.
- width: the width unit is (cx / 26 + 1) / 2 in integers, where cx is the
  extent of "A..Za..z" in pixels; it is 8 for cx from 390 to 441. The glyphs
  are scaled across so the letters' advances at 12 pixels per em add up to the
  middle of that range, which leaves room for each platform's own rounding.
Everything is derived from the input alone, so the output is the same on
every run.
"""

import sys

from fontTools import subset
from fontTools.ttLib import TTFont

SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
DEFAULT_OUTPUT = "resources/exocet.ttf"

FAMILY = "Exocet"
STYLE = "Light"
FULL_NAME = "Exocet Light"
POSTSCRIPT_NAME = "Exocet-Light"

PIXELS_PER_EM = 12
LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
TARGET_LETTER_EXTENT = 416          # middle of 390..441, see above
ASCENT_PIXELS = 10
DESCENT_PIXELS = 3

# Windows-1252: the printable ASCII range, Latin-1 and the extra letters and
# punctuation the code page puts in 0x80..0x9F.
CP1252_EXTRAS = "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"
UNICODES = (list(range(0x20, 0x7F)) + list(range(0xA0, 0x100))
            + [ord(c) for c in CP1252_EXTRAS])

DROPPED_TABLES = ["GSUB", "GPOS", "GDEF", "MATH", "FFTM", "kern"]


def cut_to_repertoire(font):
    options = subset.Options()
    options.layout_features = []
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.glyph_names = False
    options.notdef_outline = True
    options.drop_tables += DROPPED_TABLES
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=UNICODES)
    subsetter.subset(font)


def letter_extent(font, scale_x):
    cmap = font.getBestCmap()
    hmtx = font["hmtx"]
    upem = font["head"].unitsPerEm
    return sum(round(hmtx[cmap[ord(c)]][0] * scale_x * PIXELS_PER_EM / upem)
               for c in LETTERS)


def choose_scale(font):
    """The smallest widening (in steps of 1/1000) that reaches the target."""
    step = 0
    while letter_extent(font, 1 + step / 1000) < TARGET_LETTER_EXTENT:
        step += 1
    return 1 + step / 1000


def scale_across(font, scale_x):
    glyf = font["glyf"]
    hmtx = font["hmtx"]
    for name in font.getGlyphOrder():
        glyph = glyf[name]
        if glyph.isComposite():
            for component in glyph.components:
                component.x = round(component.x * scale_x)
                # A component's own outline is widened already, so only the
                # shear terms of its transform change.
                if hasattr(component, "transform"):
                    (a, b), (c, d) = component.transform
                    component.transform = [[a, b / scale_x], [c * scale_x, d]]
        elif glyph.numberOfContours > 0:
            glyph.coordinates.scale((scale_x, 1))
            glyph.coordinates.toInt()
    for name in font.getGlyphOrder():
        glyph = glyf[name]
        glyph.recalcBounds(glyf)
        advance, _ = hmtx[name]
        left = glyph.xMin if glyph.numberOfContours != 0 else 0
        hmtx[name] = (round(advance * scale_x), left)


def set_vertical_metrics(font):
    upem = font["head"].unitsPerEm
    # Just under the pixel for the ascent (round and round-up agree), exact
    # for the descent.
    ascent = (ASCENT_PIXELS * upem) // PIXELS_PER_EM
    descent = DESCENT_PIXELS * upem // PIXELS_PER_EM
    os2 = font["OS/2"]
    os2.usWinAscent = ascent
    os2.usWinDescent = descent
    os2.sTypoAscender = upem - descent
    os2.sTypoDescender = -descent
    os2.sTypoLineGap = 0
    hhea = font["hhea"]
    hhea.ascent = ascent
    hhea.descent = -descent
    hhea.lineGap = 0


def set_names(font):
    name = font["name"]
    source_name = name.getDebugName(4)
    source_version = name.getDebugName(5)
    kept = {0, 5, 7, 13, 14}
    name.names = [n for n in name.names if n.nameID in kept]
    description = ("%s, derived from %s (%s): Windows-1252 repertoire, "
                   "widened and with new vertical metrics." %
                   (FULL_NAME, source_name, source_version))
    for name_id, text in ((1, FAMILY), (2, STYLE), (3, FULL_NAME + " 1.0"),
                          (4, FULL_NAME), (6, POSTSCRIPT_NAME),
                          (10, description), (16, FAMILY), (17, STYLE)):
        name.setName(text, name_id, 3, 1, 0x409)
    name.names.sort(key=lambda n: (n.platformID, n.platEncID, n.langID, n.nameID))


def build(output):
    font = TTFont(SOURCE, recalcTimestamp=False)
    cut_to_repertoire(font)
    scale_x = choose_scale(font)
    scale_across(font, scale_x)
    set_vertical_metrics(font)
    set_names(font)
    font["OS/2"].usWeightClass = 300    # Light
    font["OS/2"].recalcAvgCharWidth(font)
    font["head"].modified = font["head"].created
    font.save(output)
    print("%s: scale across %.3f, letters %d px at %d ppem" %
          (output, scale_x, letter_extent(TTFont(output), 1), PIXELS_PER_EM))


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUTPUT)
