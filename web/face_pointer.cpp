#include "web/face_pointer.h"

#include <string>

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

namespace {

// A finger or a pen, which the touch rule presses for; otherwise a mouse.
bool touches(const val& e) {
  const std::string type = e["pointerType"].as<std::string>();
  return type == "touch" || type == "pen";
}

}  // namespace

void listenForPresses(Form88& form, FaceTouch& touch) {
  listen("face", "pointerdown", [&form, &touch](val e) {
    if (touches(e)) {
      // Nothing else takes the finger for a mouse: no mouse events are
      // made up from it.
      e.call<void>("preventDefault");
      touch.down(e);
      return;
    }
    const int button = buttonCode(e["button"].as<int>());
    if (button == 0) return;
    const int shift = shiftCode(e["shiftKey"].as<bool>(), e["ctrlKey"].as<bool>(), e["altKey"].as<bool>());
    const double x = e["offsetX"].as<double>(), y = e["offsetY"].as<double>();
    form.pressAt(button, shift, x * kTwipsPerCssPixel, y * kTwipsPerCssPixel);
  });
  // A finger on the face stays the face's until it lifts, wherever it moves.
  listen("face", "pointermove", [&touch](val e) {
    if (touches(e)) touch.move(e);
  });
  listen("face", "pointerup", [&touch](val e) {
    if (touches(e)) touch.up(e);
  });
  listen("face", "pointercancel", [&touch](val e) {
    if (touches(e)) touch.cancel();
  });
  // The press must not take the focus from where it is, nor start a text
  // selection or the middle button's scrolling; a long touch opens no menu.
  listen("face", "mousedown", [](val e) { e.call<void>("preventDefault"); });
  listen("face", "contextmenu", [](val e) { e.call<void>("preventDefault"); });
}

}  // namespace tirpo::web
