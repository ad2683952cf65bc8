#include "platform/face_keyboard.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

#include "platform/face_accessible.h"
#include "platform/face_surface.h"
#include "platform/input_codes.h"

namespace tirpo {

namespace {

// The ring: a white band around a black one, each this wide, kept this far
// inside the face's edge or outside the picture. One of the two stands out
// on every background the face takes (light grey, grey, green).
constexpr int kBand = 2;
constexpr int kGap = 2;

// A band of the given width just inside a rectangle.
QRegion bandInside(const QRect& r, int width) {
  return QRegion(r).subtracted(QRegion(r.adjusted(width, width, -width, -width)));
}

}  // namespace

FaceKeyboard::FaceKeyboard(FaceSurface* face) : QObject(face), face_(face) {
  face->setFocusPolicy(Qt::TabFocus);
  face->installEventFilter(this);
}

Image* FaceKeyboard::visiblePicture() const {
  Form88& f = face_->form();
  if (f.Image4.visible()) return &f.Image4;
  if (f.Image1.visible()) return &f.Image1;
  return nullptr;
}

Image* FaceKeyboard::focusedPicture() const { return face_->hasFocus() && onPicture_ ? visiblePicture() : nullptr; }

// The outer edge of the ring: inside the face's edge, or around the picture.
QRegion FaceKeyboard::ringRegion() const {
  if (!face_->hasFocus()) return {};
  if (const Image* picture = focusedPicture()) {
    const QRect r = face_->toPixels(picture->twips()).toAlignedRect();
    const int out = kGap + 2 * kBand;
    return bandInside(r.adjusted(-out, -out, out, out), 2 * kBand);
  }
  return bandInside(face_->rect().adjusted(kGap, kGap, -kGap, -kGap), 2 * kBand);
}

void FaceKeyboard::paintRing(QPainter& p) const {
  if (!face_->hasFocus()) return;
  const QRect outer = ringRegion().boundingRect();
  if (outer.isEmpty()) return;
  for (const QRect& r : bandInside(outer, kBand)) p.fillRect(r, Qt::white);
  for (const QRect& r : bandInside(outer.adjusted(kBand, kBand, -kBand, -kBand), kBand)) p.fillRect(r, Qt::black);
}

void FaceKeyboard::repaintRing() {
  const QRegion now = ringRegion();
  face_->update(ringShown_.united(now));
  ringShown_ = now;
}

void FaceKeyboard::moveTo(bool picture) {
  onPicture_ = picture;
  repaintRing();
  focusTold_ = focusedPicture();
  tellFocus(face_);
}

void FaceKeyboard::controlChanged(const Control& control, Aspect /*aspect*/) {
  if (control.kind() != Kind::Image || !face_->hasFocus() || !onPicture_) return;
  // The picture pressed gives way to the other one, which keeps the stop;
  // with neither shown the stop goes back to the face itself.
  if (!visiblePicture()) onPicture_ = false;
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
      if (reason == Qt::TabFocusReason) onPicture_ = false;
      if (reason == Qt::BacktabFocusReason) onPicture_ = visiblePicture() != nullptr;
      repaintRing();
      focusTold_ = focusedPicture();
      if (focusTold_) tellFocus(face_);
      return false;
    }
    case QEvent::FocusOut:
      repaintRing();
      return false;
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
  if (tab && !onPicture_ && visiblePicture()) {
    moveTo(true);
    return true;
  }
  if (backtab && onPicture_ && visiblePicture()) {
    moveTo(false);
    return true;
  }
  if (Image* picture = focusedPicture()) {
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (!e.isAutoRepeat()) picture->click();
    return true;
  }
  const int code = keyCode(key);
  return code != 0 && face_->form().Face_KeyDown(code, shiftCode(mods), e.isAutoRepeat());
}

}  // namespace tirpo
