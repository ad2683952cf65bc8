#!/usr/bin/python3
"""Cuts a font down to the characters the clock can ever show, as WOFF2.

  subset_font.py FONT OUT SOURCE...

The characters are every printable ASCII character and every other
character found in the given sources (the program's texts live in them).
"""

import sys

from fontTools import subset


def characters(sources):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for path in sources:
        with open(path, encoding="utf-8") as f:
            chars.update(c for c in f.read() if ord(c) > 0x7F and c.isprintable())
    chars.add("\u3000")  # the splash text's full-width space
    return "".join(sorted(chars))


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    font, out, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
    options = subset.Options()
    options.flavor = "woff2"
    options.hinting = False
    options.desubroutinize = True
    options.layout_features = ["kern"]
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6]
    options.notdef_outline = True
    options.glyph_names = False
    loaded = subset.load_font(font, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=characters(sources))
    subsetter.subset(loaded)
    subset.save_font(loaded, out, options)


if __name__ == "__main__":
    main()
