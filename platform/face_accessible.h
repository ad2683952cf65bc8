#pragma once
// What assistive technology learns about the clock face: a clock that
// reads out the time its hands show, with the two centre pictures as
// buttons that say what a press does.

class QObject;
class QAccessibleInterface;
class QString;

namespace tirpo {

class FaceSurface;

// Lets Qt build the face's accessible interface (call once per program).
void installFaceAccessibility();

// A clock value behind the hands was written: once the current event is
// handled, assistive technology is told the time on the face if it changed.
void announceFaceTime(FaceSurface* face);

}  // namespace tirpo
