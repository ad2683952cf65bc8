#pragma once
// What assistive technology learns about the clock face: a spin button that
// reads out the time its hands show and offers to step it forward and back,
// with the visible centre picture as a button that says what a press does.

#include "window/control.h"

class QAccessibleInterface;

namespace tirpo {

class FaceSurface;

// Lets Qt build the face's accessible interface (call once per program).
void installFaceAccessibility();

// A control of the face changed. A clock value behind the hands: once the
// current event is handled, assistive technology is told the time on the
// face if it changed (paced while the AUTO run goes). A picture shown or
// hidden: it is told which picture the face offers now.
void tellAssistiveTechnology(FaceSurface* face, const Control& control, Aspect aspect);

// A mode button changed colour: once the current event is handled, a change
// of mode is told, once.
void tellModeChange(FaceSurface* face);

// A held arrow key was let go: the time the face now shows is told at once.
void tellKeyLetGo(FaceSurface* face);

// What the window last said of a change of mode, as assistive technology
// meets it; nullptr before it said anything.
QAccessibleInterface* modeNotice(FaceSurface* face);

// The keyboard focus moved on the face (to or from its picture): once the
// current event is handled, assistive technology is told what has it.
void tellFocus(FaceSurface* face);

}  // namespace tirpo
