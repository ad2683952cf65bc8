#pragma once
// Window colours (0x00BBGGRR, or a system colour) as Qt colours.

#include <QColor>

class QWidget;

#include "clock/colours.h"

namespace tirpo {

// System colours are the style's own for that kind of widget, whatever
// colours the widget has been given since.
QColor toQColor(Colour c, const QWidget* widget);

}  // namespace tirpo
