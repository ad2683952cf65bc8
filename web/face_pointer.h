#pragma once
// Presses on the face. A mouse's button and Shift/Ctrl/Alt go to the
// window's press handler as they are, at the press's place in twips, and
// every press counts however fast they come (a double click is two
// presses). A finger or a pen goes through the touch rule (web/face_touch.h)
// instead, and the browser makes no mouse press of it. A press leaves the
// keyboard focus where it was, and the face shows no browser menu. All
// pointer input of the face comes in here.

#include "web/face_touch.h"
#include "window/form88.h"

namespace tirpo::web {

// The press handler's button for a DOM button number (0 main, 1 middle,
// 2 secondary), 0 for any other.
int buttonCode(int domButton);
int shiftCode(bool shift, bool ctrl, bool alt);

void listenForPresses(Form88& form, FaceTouch& touch);

}  // namespace tirpo::web
