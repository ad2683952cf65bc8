#include "platform/face_surface.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/colours.h"
#include "platform/emblem.h"
#include "platform/face_accessible.h"
#include "platform/face_keyboard.h"
#include "platform/face_touch.h"
#include "platform/fonts.h"
#include "platform/input_codes.h"
#include "platform/qt_text_measurer.h"

namespace tirpo {

FaceSurface::FaceSurface(Form88& form, QWidget* parent) : QWidget(parent), form_(form), tpp_(twipsPerPixel()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  installFaceAccessibility();
  keyboard_ = new FaceKeyboard(this);
  touch_ = new FaceTouch(this);
}

QRectF FaceSurface::toPixels(const TwipRect& r) const {
  return {r.left / tpp_, r.top / tpp_, r.width / tpp_, r.height / tpp_};
}

QPointF FaceSurface::toPixels(double xTwips, double yTwips) const { return {xTwips / tpp_, yTwips / tpp_}; }

void FaceSurface::controlChanged(const Control& control, Aspect aspect) {
  tellAssistiveTechnology(this, control, aspect);
  keyboard_->controlChanged(control, aspect);
  looks_.changed(control);
  if (compareQueued_) return;
  compareQueued_ = true;
  QMetaObject::invokeMethod(this, &FaceSurface::compareChanged, Qt::QueuedConnection);
}

namespace {

QRect toQRect(const PixelBox& b) { return {b.x, b.y, b.w, b.h}; }
QRectF toQRectF(const PixelRect& r) { return {r.x, r.y, r.w, r.h}; }
QPointF toQPointF(const PixelPoint& p) { return {p.x, p.y}; }

}  // namespace

void FaceSurface::compareChanged() {
  compareQueued_ = false;
  if (!paintedOnce_) {
    // Nothing is on the screen yet; the first paint draws it all.
    looks_.forgetChanges();
    update();
    return;
  }
  const QRect face = rect();
  const std::vector<PixelBox> rects = looks_.compare({face.x(), face.y(), face.width(), face.height()}, tpp_);
  if (rects.empty()) return;
  if (rects.size() == 1) {
    update(toQRect(rects.front()));
    return;
  }
  QRegion region;
  for (const PixelBox& r : rects) region += toQRect(r);
  update(region);
}

FaceSurface::TextCache& FaceSurface::textOf(const Control& label, const ControlLook& look) {
  TextCache& cache = text_[&label];
  if (cache.valid && cache.caption == look.caption && cache.fontSpec == look.font) return cache;
  cache = {};
  cache.valid = true;
  cache.caption = look.caption;
  cache.fontSpec = look.font;
  if (look.font.size <= 0) return cache;
  cache.font = toQFont(look.font);
  const QFontMetricsF metrics(cache.font);
  cache.lineHeight = metrics.height();
  for (const QString& line : captionLines(look.caption)) {
    cache.widths.push_back(metrics.horizontalAdvance(line));
    QStaticText text(line);
    text.setTextFormat(Qt::PlainText);
    text.setPerformanceHint(QStaticText::AggressiveCaching);
    text.prepare(QTransform(), cache.font);
    cache.lines.push_back(std::move(text));
  }
  return cache;
}

void FaceSurface::paintLabel(QPainter& p, const Control& label, const ControlLook& look) {
  const QRectF r = toQRectF(look.box);
  if (!look.transparent) p.fillRect(r, toQColor(look.back, this));
  if (look.border) {
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
  }
  const TextCache& text = textOf(label, look);
  if (text.lines.empty()) return;
  p.setFont(text.font);
  p.setPen(toQColor(look.fore, this));
  for (std::size_t i = 0; i < text.lines.size(); ++i) {
    const qreal x = look.centred ? r.left() + (r.width() - text.widths[i]) / 2 : r.left();
    p.drawStaticText(QPointF(x, r.top() + static_cast<qreal>(i) * text.lineHeight), text.lines[i]);
  }
}

// A round-capped stroke is drawn as a flat-capped one with a disc at each
// end: Qt fills a flat-capped line straight from its corners, where a round
// cap makes it build and fill a curved outline of the whole stroke.
void FaceSurface::paintLine(QPainter& p, const ControlLook& look) {
  const QColor colour = toQColor(look.fore, this);
  const QPointF from = toQPointF(look.from);
  const QPointF to = toQPointF(look.to);
  const qreal width = look.width;
  QPen pen(colour, width);
  pen.setCapStyle(Qt::FlatCap);
  p.setPen(pen);
  p.drawLine(from, to);
  paintDisc(p, from, width / 2, colour);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(to, width / 2, width / 2);
  p.setBrush(Qt::NoBrush);
}

// The disc is drawn once into an image that starts on the device's pixel
// grid, so the same position on the grid gives the same coverage; after that
// the image is copied. Only a few places are kept (the hands start at the
// centre; a resize moves it).
void FaceSurface::paintDisc(QPainter& p, QPointF centre, qreal radius, const QColor& colour) {
  const qreal dpr = devicePixelRatioF();
  for (const DiscSprite& d : discs_)
    if (d.centre == centre && d.radius == radius && d.colour == colour.rgba() && d.dpr == dpr) {
      p.drawImage(d.origin, d.image);
      return;
    }
  constexpr std::size_t kKeptDiscs = 8;
  if (discs_.size() >= kKeptDiscs) discs_.erase(discs_.begin());
  DiscSprite d{centre, radius, colour.rgba(), dpr, {}, {}};
  const QPoint first(static_cast<int>(std::floor((centre.x() - radius - 1) * dpr)),
                     static_cast<int>(std::floor((centre.y() - radius - 1) * dpr)));
  const int side = static_cast<int>(std::ceil((2 * radius + 3) * dpr)) + 1;
  d.origin = QPointF(first) / dpr;
  d.image = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
  d.image.setDevicePixelRatio(dpr);
  d.image.fill(Qt::transparent);
  {
    QPainter ip(&d.image);
    ip.setRenderHint(QPainter::Antialiasing);
    ip.setPen(Qt::NoPen);
    ip.setBrush(colour);
    ip.drawEllipse(centre - d.origin, radius, radius);
  }
  p.drawImage(d.origin, d.image);
  discs_.push_back(std::move(d));
}

void FaceSurface::paintImage(QPainter& p, const ControlLook& look) const {
  const QRectF r = toQRectF(look.box);
  const int devicePixels = static_cast<int>(std::ceil(std::max(r.width(), r.height()) * devicePixelRatioF()));
  if (devicePixels <= 0) return;
  const QPixmap& pixmap = emblemPixmap(look.picture, devicePixels);
  p.drawPixmap(r, pixmap, QRectF(pixmap.rect()));
}

void FaceSurface::paintEvent(QPaintEvent* event) {
  if (!paintedOnce_) QMetaObject::invokeMethod(this, &FaceSurface::firstPainted, Qt::QueuedConnection);
  paintedOnce_ = true;
  QPainter p(this);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
  const QRegion& region = event->region();
  p.fillRect(region.boundingRect(), toQColor(form_.backColor(), this));
  keyboard_->paintRing(p);  // under everything else, so it hides nothing
  const QRectF area = region.boundingRect();
  const bool oneRect = region.rectCount() == 1;
  // The repainted area in twips, widened by the margin a look gives a
  // label or picture: most of the sixty dots are left out on that test alone.
  const double margin = 2 * tpp_;
  const double left = area.left() * tpp_ - margin, right = area.right() * tpp_ + margin;
  const double top = area.top() * tpp_ - margin, bottom = area.bottom() * tpp_ + margin;
  for (const Control* c : form_.paintOrder()) {
    if (!c->visible()) continue;
    if (c->kind() != Kind::Line) {
      const TwipRect& t = c->twips();
      if (t.left > right || t.left + t.width < left || t.top > bottom || t.top + t.height < top) continue;
    }
    ControlLook look = lookOf(*c, tpp_);
    const QRectF bounds = toQRectF(look.bounds);
    if (!bounds.intersects(area) || (!oneRect && !region.intersects(bounds.toAlignedRect()))) continue;
    ControlLook& shown = looks_.shown(*c);
    if (looks_.isChanged(*c)) {
      // Changed since its last comparison, and now partly drawn the new
      // way: that comparison repaints all of it.
      shown.bounds = shown.bounds.united(look.bounds);
      shown.width = -1;  // no real look has a negative width
    } else if (!shown.shown) {
      shown = look;  // on the screen for the first time
    }
    switch (look.kind) {
      case Kind::Label:
        paintLabel(p, *c, look);
        break;
      case Kind::Line:
        paintLine(p, look);
        break;
      case Kind::Image:
        paintImage(p, look);
        break;
      default:
        break;
    }
  }
}

void FaceSurface::mousePressEvent(QMouseEvent* event) {
  const int button = buttonCode(event->button());
  if (button == 0) return;
  const QPointF pos = event->position();
  form_.pressAt(button, shiftCode(event->modifiers()), toTwips(pos.x()), toTwips(pos.y()));
}

}  // namespace tirpo
