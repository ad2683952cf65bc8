#pragma once
// The toolkit's mouse buttons, keys and modifier keys as the window's press
// and key handlers receive them.

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

// The face's arrow keys; any other key is 0.
inline int keyCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Down:
      return kKeyDown;
    default:
      return 0;
  }
}

inline int shiftCode(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? kShiftKey : 0) | (m & Qt::ControlModifier ? kCtrlKey : 0) |
         (m & Qt::AltModifier ? kAltKey : 0);
}

}  // namespace tirpo
