#!/usr/bin/python3
"""Writes a WOFF2 subset of a font holding only the glyphs of the given text
(every glyph when TEXT is "*": for texts the player types), under a family
name of its own (the IPA Font License wants a derived font to carry neither
the original's font name nor its file name).

usage: make-font-subset.py SOURCE.ttf OUTPUT.woff2 FAMILY TEXT
"""
import sys

from fontTools import subset
from fontTools.ttLib import TTFont


def main(source, output, family, text):
    font = TTFont(source)
    options = subset.Options()
    options.flavor = "woff2"
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    subsetter = subset.Subsetter(options)
    if text == "*":
        subsetter.populate(unicodes=font.getBestCmap().keys())
    else:
        subsetter.populate(text=text)
    subsetter.subset(font)
    # Every name the font goes by: family, full name, PostScript name,
    # typographic family; the unique ID too, so nothing says "IPA".
    for record in font["name"].names:
        if record.nameID in (1, 3, 4, 16, 17, 18, 21):
            record.string = family if record.nameID != 17 else "Regular"
        elif record.nameID == 6:
            record.string = family.replace(" ", "")
    font.flavor = "woff2"
    font.save(output)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
