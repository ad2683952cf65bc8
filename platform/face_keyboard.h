#pragma once
// The face from the keyboard with Qt's focus and key events, by the stops
// and ring of view/face_focus.h. On the face the arrow keys press it forward
// and back; on the picture Space or Return press it like a click.

#include <QObject>
#include <QRegion>

#include "view/face_focus.h"
#include "window/control.h"

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
  QRegion ringShown_;                 // where the ring was last painted
  const Image* focusTold_ = nullptr;  // the picture assistive technology was told has the focus
};

}  // namespace tirpo
