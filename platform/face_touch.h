#pragma once
// The face under a finger. Touches on the face are taken as touches (no
// press is made up from them by the toolkit) and pressed by the touch rule:
// a tap is a left press, a finger held in place a right press, each through
// the window's one entry for presses at the place the finger came down.
// While a hold is counted, a ring fills around the finger (view/hold_ring.h);
// it goes as soon as the press is made or the finger lifts or slides, and
// the face is repainted where it stood.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "window/touch_press.h"

class QTouchEvent;

namespace tirpo {

class FaceSurface;
class HoldRingWidget;

class FaceTouch final : public QObject {
 public:
  explicit FaceTouch(FaceSurface* face);

  // The ring while it shows, else nullptr.
  const QWidget* holdRing() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void touched(QTouchEvent& e);
  void act(const TouchPress::Verdict& v);
  void timeCame();
  void showHold();

  FaceSurface* face_;
  TouchPress rule_;
  QElapsedTimer clock_;
  QTimer timer_;
  HoldRingWidget* ring_;
};

}  // namespace tirpo
