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

// Tells assistive technology that the time on the face has changed.
void announceFaceTime(FaceSurface* face);

}  // namespace tirpo
