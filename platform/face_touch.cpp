#include "platform/face_touch.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTouchEvent>

#include "platform/face_surface.h"
#include "view/hold_ring.h"

namespace tirpo {

// The ring of a held finger (view/hold_ring.h), over the face; it lets
// every press through.
class HoldRingWidget final : public QWidget {
 public:
  explicit HoldRingWidget(QWidget* face) : QWidget(face) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
  }
  void showAs(const HoldRing& ring) {
    const PixelBox area = ring.area();
    setGeometry(area.x, area.y, area.w, area.h);
    if (ring.filled != ring_.filled || isHidden()) {
      ring_ = ring;
      update();
    }
    show();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    const QRectF circle(centre - QPointF(kHoldRingRadius, kHoldRingRadius),
                        QSizeF(2 * kHoldRingRadius, 2 * kHoldRingRadius));
    p.setPen(QPen(QColor(0, 0, 0, kHoldRingDarkAlpha), kHoldRingBand, Qt::SolidLine, Qt::FlatCap));
    p.drawEllipse(circle);
    // Qt's angles are in sixteenths of a degree, counterclockwise from 3
    // o'clock.
    const int span = -static_cast<int>(ring_.sweepDegrees() * 16);
    p.setPen(QPen(Qt::white, kHoldRingFillBand, Qt::SolidLine, Qt::FlatCap));
    if (span != 0) p.drawArc(circle, 90 * 16, span);
  }

 private:
  HoldRing ring_;
};

FaceTouch::FaceTouch(FaceSurface* face) : QObject(face), face_(face), ring_(new HoldRingWidget(face)) {
  face->setAttribute(Qt::WA_AcceptTouchEvents);
  face->installEventFilter(this);
  clock_.start();
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &FaceTouch::timeCame);
}

const QWidget* FaceTouch::holdRing() const { return ring_->isVisible() ? ring_ : nullptr; }

bool FaceTouch::eventFilter(QObject* watched, QEvent* event) {
  if (watched != face_) return false;
  switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      // A touchpad's fingers move the pointer, and its taps come as the
      // system's own clicks (two fingers: a right click): its touches are
      // taken and press nothing, so no click is made up from them either.
      if (static_cast<QTouchEvent*>(event)->device()->type() != QInputDevice::DeviceType::TouchPad)
        touched(*static_cast<QTouchEvent*>(event));
      event->accept();
      return true;
    case QEvent::TouchCancel:
      act(rule_.cancel());
      event->accept();
      return true;
    default:
      return false;
  }
}

void FaceTouch::touched(QTouchEvent& e) {
  for (const QEventPoint& point : e.points()) {
    const double x = face_->toTwips(point.position().x()), y = face_->toTwips(point.position().y());
    const std::int64_t now = clock_.elapsed();
    switch (point.state()) {
      case QEventPoint::Pressed:
        act(rule_.down(point.id(), x, y, now));
        break;
      case QEventPoint::Updated:
        act(rule_.move(point.id(), x, y, now));
        break;
      case QEventPoint::Released:
        act(rule_.up(point.id(), x, y, now));
        break;
      default:
        break;
    }
  }
}

void FaceTouch::act(const TouchPress::Verdict& v) {
  showHold();
  if (const std::int64_t again = holdRingAskAgainMs(v, ring_->isVisible()))
    timer_.start(static_cast<int>(again));
  else
    timer_.stop();
  if (v.button != 0) face_->form().pressAt(v.button, 0, v.xTwips, v.yTwips);
}

void FaceTouch::timeCame() { act(rule_.check(clock_.elapsed())); }

void FaceTouch::showHold() {
  const std::optional<HoldRing> ring = holdRingFor(rule_, clock_.elapsed(), face_->toTwips(1.0));  // twips a pixel
  if (!ring) {
    ring_->hide();  // the face repaints where it stood
    return;
  }
  ring_->showAs(*ring);
}

}  // namespace tirpo
