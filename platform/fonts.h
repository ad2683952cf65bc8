#pragma once
// The window's fonts as Qt fonts. The face the window asks for is replaced
// by the Japanese fonts Debian ships, so every text has real glyphs.

#include <QFont>

#include "window/text_measurer.h"

namespace tirpo {

void installFontSubstitutions();
QFont toQFont(const FontSpec& font);

// Twips per logical pixel for the screen's logical DPI.
double twipsPerPixel();

}  // namespace tirpo
