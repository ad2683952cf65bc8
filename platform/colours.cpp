#include "platform/colours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace tirpo {

QColor toQColor(Colour c, const QWidget* widget) {
  if (!isSystemColour(c)) return QColor(redOf(c), greenOf(c), blueOf(c));
  const QPalette palette = widget ? QApplication::palette(widget) : QApplication::palette();
  if (c == kSystemButtonFace) return palette.color(QPalette::Button);
  if (c == kSystemWindowText) return palette.color(QPalette::WindowText);
  return palette.color(QPalette::Window);
}

}  // namespace tirpo
