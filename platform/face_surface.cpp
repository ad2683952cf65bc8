#include "platform/face_surface.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "platform/colours.h"
#include "platform/emblem.h"
#include "platform/face_accessible.h"
#include "platform/face_keyboard.h"
#include "platform/fonts.h"
#include "platform/input_codes.h"
#include "platform/qt_text_measurer.h"

namespace tirpo {

FaceSurface::FaceSurface(Form88& form, QWidget* parent)
    : QWidget(parent),
      form_(form),
      tpp_(twipsPerPixel()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  installFaceAccessibility();
  keyboard_ = new FaceKeyboard(this);
}

QRectF FaceSurface::toPixels(const TwipRect& r) const {
  return {r.left / tpp_, r.top / tpp_, r.width / tpp_, r.height / tpp_};
}

QPointF FaceSurface::toPixels(double xTwips, double yTwips) const { return {xTwips / tpp_, yTwips / tpp_}; }

QRectF FaceSurface::boundsOf(const Control& c) const {
  if (!c.visible()) return {};
  if (c.kind() == Kind::Line) {
    const auto& line = static_cast<const Line&>(c);
    const qreal pad = line.borderWidth / 2.0 + 2;
    return QRectF(toPixels(line.x1Twips(), line.y1Twips()), toPixels(line.x2Twips(), line.y2Twips()))
        .normalized()
        .adjusted(-pad, -pad, pad, pad);
  }
  return toPixels(c.twips()).adjusted(-2, -2, 2, 2);
}

QRectF FaceSurface::paintedBounds(const Control& control) const {
  const auto it = painted_.find(&control);
  return it == painted_.end() ? QRectF() : it->second;
}

void FaceSurface::controlChanged(const Control& control, Aspect aspect) {
  tellAssistiveTechnology(this, control, aspect);
  keyboard_->controlChanged(control, aspect);
  const QRectF before = paintedBounds(control);
  const QRectF after = boundsOf(control);
  painted_[&control] = after;
  const QRectF dirty = before.united(after);
  if (!dirty.isEmpty()) update(dirty.toAlignedRect());
}

FaceSurface::TextCache& FaceSurface::textOf(const Label& label) {
  TextCache& cache = text_[&label];
  if (cache.valid && cache.caption == label.caption() && cache.fontSpec == label.font()) return cache;
  cache = {};
  cache.valid = true;
  cache.caption = label.caption();
  cache.fontSpec = label.font();
  if (label.fontSize() <= 0) return cache;
  cache.font = toQFont(label.font());
  const QFontMetricsF metrics(cache.font);
  cache.lineHeight = metrics.height();
  for (const QString& line : captionLines(label.caption())) {
    cache.widths.push_back(metrics.horizontalAdvance(line));
    QStaticText text(line);
    text.setTextFormat(Qt::PlainText);
    text.setPerformanceHint(QStaticText::AggressiveCaching);
    text.prepare(QTransform(), cache.font);
    cache.lines.push_back(std::move(text));
  }
  return cache;
}

void FaceSurface::paintLabel(QPainter& p, const Label& label) {
  const QRectF r = toPixels(label.twips());
  if (!label.transparent) p.fillRect(r, toQColor(label.backColor(), this));
  if (label.border) {
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
  }
  const TextCache& text = textOf(label);
  if (text.lines.empty()) return;
  p.setFont(text.font);
  p.setPen(toQColor(label.foreColor(), this));
  for (std::size_t i = 0; i < text.lines.size(); ++i) {
    const qreal x = label.centred ? r.left() + (r.width() - text.widths[i]) / 2 : r.left();
    p.drawStaticText(QPointF(x, r.top() + static_cast<qreal>(i) * text.lineHeight), text.lines[i]);
  }
}

void FaceSurface::paintLine(QPainter& p, const Line& line) const {
  QPen pen(toQColor(line.borderColor(), this), line.borderWidth);
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  p.drawLine(toPixels(line.x1Twips(), line.y1Twips()), toPixels(line.x2Twips(), line.y2Twips()));
}

void FaceSurface::paintImage(QPainter& p, const Image& image) const {
  const QRectF r = toPixels(image.twips());
  const int devicePixels = static_cast<int>(std::ceil(std::max(r.width(), r.height()) * devicePixelRatioF()));
  if (devicePixels <= 0) return;
  const QPixmap& pixmap = emblemPixmap(image.picture(), devicePixels);
  p.drawPixmap(r, pixmap, QRectF(pixmap.rect()));
}

void FaceSurface::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                   QPainter::SmoothPixmapTransform);
  const QRect area = event->rect();
  p.fillRect(area, toQColor(form_.backColor(), this));
  keyboard_->paintRing(p);  // under everything else, so it hides nothing
  for (const Control* c : form_.paintOrder()) {
    if (!c->visible()) continue;
    const QRectF bounds = boundsOf(*c);
    painted_[c] = bounds;
    if (!event->region().intersects(bounds.toAlignedRect())) continue;
    switch (c->kind()) {
      case Kind::Label: paintLabel(p, static_cast<const Label&>(*c)); break;
      case Kind::Line: paintLine(p, static_cast<const Line&>(*c)); break;
      case Kind::Image: paintImage(p, static_cast<const Image&>(*c)); break;
      default: break;
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
