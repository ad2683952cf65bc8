#pragma once
// Presses on the face: the pointer's button and Shift/Ctrl/Alt as the
// window's press handler takes them, at the press's place in twips. A press
// leaves the keyboard focus where it was, and the face shows no browser
// menu. All pointer input of the face comes in here.

#include "window/form88.h"

namespace tirpo::web {

// The press handler's button for a DOM button number (0 main, 1 middle,
// 2 secondary), 0 for any other.
int buttonCode(int domButton);
int shiftCode(bool shift, bool ctrl, bool alt);

void listenForPresses(Form88& form);

}  // namespace tirpo::web
