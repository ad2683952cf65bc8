#include "platform/face_keyboard.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

#include "platform/face_accessible.h"
#include "platform/face_surface.h"
#include "platform/focus_ring.h"
#include "platform/input_codes.h"

namespace tirpo {

namespace {

QRegion regionOf(const std::vector<PixelBox>& boxes) {
  QRegion region;
  for (const PixelBox& b : boxes) region += QRect(b.x, b.y, b.w, b.h);
  return region;
}

}  // namespace

FaceKeyboard::FaceKeyboard(FaceSurface* face) : QObject(face), face_(face) {
  face->setFocusPolicy(Qt::TabFocus);
  face->installEventFilter(this);
  sinceStart_.start();
  letGo_.setSingleShot(true);
  connect(&letGo_, &QTimer::timeout, this, [this] {
    if (held_.letGo(sinceStart_.elapsed())) tellKeyLetGo(face_);
  });
}

Image* FaceKeyboard::focusedPicture() const { return focus_.focusedPicture(face_->form(), face_->hasFocus()); }

// The outer edge of the ring: inside the face's edge, or around the picture.
QRegion FaceKeyboard::ringRegion() const {
  if (!face_->hasFocus()) return {};
  const QRect face = face_->rect();
  const PixelBox faceBox{face.x(), face.y(), face.width(), face.height()};
  if (const Image* picture = focusedPicture()) {
    const QRectF r = face_->toPixels(picture->twips());
    const PixelRect pictureRect{r.x(), r.y(), r.width(), r.height()};
    return regionOf(ringArea(ringOuter(faceBox, &pictureRect)));
  }
  return regionOf(ringArea(ringOuter(faceBox, nullptr)));
}

void FaceKeyboard::paintRing(QPainter& p) const {
  if (!face_->hasFocus()) return;
  const QRect outer = ringRegion().boundingRect();
  if (!outer.isEmpty()) paintFocusRing(p, outer);
}

void FaceKeyboard::repaintRing() {
  const QRegion now = ringRegion();
  face_->update(ringShown_.united(now));
  ringShown_ = now;
}

void FaceKeyboard::moved() {
  repaintRing();
  focusTold_ = focusedPicture();
  tellFocus(face_);
}

void FaceKeyboard::controlChanged(const Control& control, Aspect /*aspect*/) {
  if (control.kind() != Kind::Image || !face_->hasFocus() || !focus_.onPicture()) return;
  focus_.picturesChanged(face_->form());
  repaintRing();
  // Told once the other picture has taken over (they swap in two steps).
  if (focusedPicture() == focusTold_) return;
  focusTold_ = focusedPicture();
  tellFocus(face_);
}

bool FaceKeyboard::eventFilter(QObject* watched, QEvent* event) {
  if (watched != face_) return false;
  switch (event->type()) {
    case QEvent::FocusIn: {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      // Coming back by Shift+Tab reaches the last stop first: the picture.
      if (reason == Qt::TabFocusReason) focus_.enteredForward();
      if (reason == Qt::BacktabFocusReason) focus_.enteredBackward(face_->form());
      repaintRing();
      focusTold_ = focusedPicture();
      if (focusTold_) tellFocus(face_);
      return false;
    }
    case QEvent::FocusOut:
      held_.reset();
      repaintRing();
      return false;
    case QEvent::KeyRelease: {
      const auto& e = *static_cast<QKeyEvent*>(event);
      if (keyCode(e.key()) == 0 || focusedPicture()) return false;
      if (const std::int64_t ms = held_.released(e.key(), e.isAutoRepeat(), sinceStart_.elapsed()); ms > 0)
        letGo_.start(static_cast<int>(ms) + 1);
      return false;
    }
    case QEvent::KeyPress:
      return keyPressed(*static_cast<QKeyEvent*>(event));
    default:
      return false;
  }
}

bool FaceKeyboard::keyPressed(const QKeyEvent& e) {
  const int key = e.key();
  const Qt::KeyboardModifiers mods = e.modifiers();
  const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier));
  const bool tab = plain && key == Qt::Key_Tab && !(mods & Qt::ShiftModifier);
  const bool backtab = plain && (key == Qt::Key_Backtab || (key == Qt::Key_Tab && (mods & Qt::ShiftModifier)));
  if ((tab && focus_.tabForward(face_->form())) || (backtab && focus_.tabBack(face_->form()))) {
    moved();
    return true;
  }
  if (Image* picture = focusedPicture()) {
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (!e.isAutoRepeat()) picture->click();
    return true;
  }
  const int code = keyCode(key);
  if (code == 0) return false;
  const bool repeat = held_.pressed(key, e.isAutoRepeat(), sinceStart_.elapsed());
  return face_->form().Face_KeyDown(code, shiftCode(mods), repeat);
}

}  // namespace tirpo
