#include "platform/face_touch.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTouchEvent>
#include <algorithm>

#include "platform/face_surface.h"

namespace tirpo {

namespace {

// The band's width, and how often the ring is redrawn while it fills.
constexpr int kBand = 6;
constexpr int kFrameMs = 16;

}  // namespace

// A ring around the finger that fills clockwise from the top while a hold is
// counted: a dark band with a light one filling inside it, so that it shows
// on every background the face takes. It lies over the face and lets every
// press through.
class HoldRing final : public QWidget {
 public:
  explicit HoldRing(QWidget* face) : QWidget(face) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    const int side = 2 * (FaceTouch::kRingRadius + kBand);
    resize(side, side);
    hide();
  }
  void showAt(QPointF centre, double filled) {
    move((centre - QPointF(width(), height()) / 2).toPoint());
    if (filled != filled_ || isHidden()) {
      filled_ = filled;
      update();
    }
    show();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = QRectF(rect()).adjusted(kBand, kBand, -kBand, -kBand);
    p.setPen(QPen(QColor(0, 0, 0, 150), kBand, Qt::SolidLine, Qt::FlatCap));
    p.drawEllipse(circle);
    // Qt's angles are in sixteenths of a degree, counterclockwise from 3
    // o'clock.
    const int span = -static_cast<int>(filled_ * 360 * 16);
    p.setPen(QPen(Qt::white, kBand - 2, Qt::SolidLine, Qt::FlatCap));
    if (span != 0) p.drawArc(circle, 90 * 16, span);
  }

 private:
  double filled_ = 0;
};

FaceTouch::FaceTouch(FaceSurface* face) : QObject(face), face_(face), ring_(new HoldRing(face)) {
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
  if (v.askAgainMs > 0)
    timer_.start(static_cast<int>(ring_->isVisible() ? std::min<std::int64_t>(v.askAgainMs, kFrameMs) : v.askAgainMs));
  else
    timer_.stop();
  if (v.button != 0) face_->form().pressAt(v.button, 0, v.xTwips, v.yTwips);
}

void FaceTouch::timeCame() { act(rule_.check(clock_.elapsed())); }

void FaceTouch::showHold() {
  const double filled = rule_.holdShown(clock_.elapsed());
  if (filled < 0) {
    ring_->hide();  // the face repaints where it stood
    return;
  }
  ring_->showAt(face_->toPixels(rule_.xTwips(), rule_.yTwips()), filled);
}

}  // namespace tirpo
