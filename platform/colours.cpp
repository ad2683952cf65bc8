#include "platform/colours.h"

namespace tirpo {

QColor toQColor(Colour c, const QPalette& palette) {
  if (c == kSystemButtonFace) return palette.color(QPalette::Button);
  if (c == kSystemWindowText) return palette.color(QPalette::WindowText);
  if (isSystemColour(c)) return palette.color(QPalette::Window);
  return QColor(redOf(c), greenOf(c), blueOf(c));
}

}  // namespace tirpo
