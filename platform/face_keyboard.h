#pragma once
// The face from the keyboard, with Qt's focus and key events, by the stops
// and ring of view/face_focus.h. The face takes the focus by Tab only (a mouse
// press leaves the focus where it was) and is the last stop of the window's
// tab chain; the visible centre picture, which shows or hides the minute
// numerals, is one more stop after it. On the face the arrow keys press it
// forward and back; on the picture Space or Return press it like a click.
// Whichever of the two has the focus wears the window's focus ring, painted
// before anything else on the face so that it covers no numeral, dot or hand
// and shows on every background the face takes.

#include <QElapsedTimer>
#include <QObject>
#include <QRegion>
#include <QTimer>

#include "view/face_focus.h"
#include "window/control.h"
#include "window/held_key.h"

class QKeyEvent;
class QPainter;

namespace tirpo {

class FaceSurface;
class Image;

class FaceKeyboard final : public QObject {
 public:
  explicit FaceKeyboard(FaceSurface* face);

  // The visible centre picture while it holds the keyboard focus, else
  // nullptr (the face itself has it, or neither has).
  Image* focusedPicture() const;

  // One of the face's arrow keys is held down and repeating its press.
  bool keyHeld() const { return held_.held(); }

  // Paints the ring of whichever holds the focus, within the painter's clip.
  void paintRing(QPainter& p) const;
  // A control of the face changed: the pictures' stop follows them.
  void controlChanged(const Control& control, Aspect aspect);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool keyPressed(const QKeyEvent& e);
  void moved();
  QRegion ringRegion() const;
  void repaintRing();

  FaceSurface* face_;
  FaceFocus focus_;
  HeldKey held_;
  QElapsedTimer sinceStart_;
  QTimer letGo_;                      // asks whether a released key was let go for good
  QRegion ringShown_;                 // where the ring was last painted
  const Image* focusTold_ = nullptr;  // the picture assistive technology was told has the focus
};

}  // namespace tirpo
