#include "web/face_pointer.h"

#include "view/pixel_geometry.h"
#include "web/dom_events.h"

namespace tirpo::web {

using emscripten::val;

int buttonCode(int domButton) {
  switch (domButton) {
    case 0:
      return kLeftButton;
    case 1:
      return kMiddleButton;
    case 2:
      return kRightButton;
    default:
      return 0;
  }
}

int shiftCode(bool shift, bool ctrl, bool alt) {
  return (shift ? kShiftKey : 0) | (ctrl ? kCtrlKey : 0) | (alt ? kAltKey : 0);
}

void listenForPresses(Form88& form) {
  listen("face", "pointerdown", [&form](val e) {
    const int button = buttonCode(e["button"].as<int>());
    if (button == 0) return;
    const int shift = shiftCode(e["shiftKey"].as<bool>(), e["ctrlKey"].as<bool>(), e["altKey"].as<bool>());
    const double x = e["offsetX"].as<double>(), y = e["offsetY"].as<double>();
    form.pressAt(button, shift, x * kTwipsPerCssPixel, y * kTwipsPerCssPixel);
  });
  // The press must not take the focus from where it is, nor start a text
  // selection or the middle button's scrolling.
  listen("face", "mousedown", [](val e) { e.call<void>("preventDefault"); });
  listen("face", "contextmenu", [](val e) { e.call<void>("preventDefault"); });
}

}  // namespace tirpo::web
