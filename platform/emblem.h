#pragma once
// The emblem pictures, compiled in at several sizes.

#include <QIcon>
#include <QPixmap>

#include "window/controls.h"

namespace tirpo {

// The window icon: the full-colour emblem at the sizes window managers ask
// for.
QIcon windowEmblem();

// The full-colour emblem (the numerals-hiding picture) or its 16-colour
// rendering (the numerals-showing picture) for a picture of the given size
// in device pixels: the smallest stored rendering at least that large,
// decoded the first time it is asked for.
const QPixmap& emblemPixmap(Picture picture, int devicePixels);

}  // namespace tirpo
