#pragma once
// The window's fonts as Qt fonts. The face the window asks for is replaced
// by the Japanese fonts Debian ships, so every text has real glyphs.

#include <QFont>

#include "window/text_measurer.h"

namespace tirpo {

void installFontSubstitutions();

// Lets the toolkit keep glyphs up to 256 pixels in its glyph cache (its own
// limit is 64), so the numerals of a large window are rasterised once per
// size and then copied, instead of being filled as outlines on every paint.
// Call before the first text is painted; a value in the environment wins.
void cacheLargeGlyphs();
QFont toQFont(const FontSpec& font);

// Twips per logical pixel for the screen's logical DPI.
double twipsPerPixel();

}  // namespace tirpo
