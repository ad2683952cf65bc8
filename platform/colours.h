#pragma once
// Window colours (0x00BBGGRR, or a system colour) as Qt colours.

#include <QColor>
#include <QPalette>

#include "clock/colours.h"

namespace tirpo {

QColor toQColor(Colour c, const QPalette& palette);

}  // namespace tirpo
