#pragma once
// The emblem pictures, compiled in at several sizes.

#include <QIcon>

#include "window/controls.h"

namespace tirpo {

// The full-colour emblem (window icon, the numerals-hiding picture) or its
// 16-colour rendering (the numerals-showing picture). Each size is named
// with its file, so nothing is decoded until a size is drawn.
QIcon emblemIcon(Picture picture);

}  // namespace tirpo
