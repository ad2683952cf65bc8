#pragma once
// The toolkit's mouse buttons and modifier keys as the window's press
// handlers receive them.

#include <Qt>

#include "window/form88.h"

namespace tirpo {

inline int buttonCode(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return kLeftButton;
    case Qt::RightButton:
      return kRightButton;
    case Qt::MiddleButton:
      return kMiddleButton;
    default:
      return 0;
  }
}

inline int shiftCode(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? kShiftKey : 0) | (m & Qt::ControlModifier ? kCtrlKey : 0) |
         (m & Qt::AltModifier ? kAltKey : 0);
}

}  // namespace tirpo
