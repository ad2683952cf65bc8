#include "platform/face_surface.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

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

FaceSurface::Look FaceSurface::lookOf(const Control& c) const {
  Look look;
  if (!c.visible()) return look;
  look.bounds = boundsOf(c);
  switch (c.kind()) {
    case Kind::Label: {
      const auto& label = static_cast<const Label&>(c);
      look.fore = label.foreColor();
      look.back = label.transparent ? 0 : label.backColor();
      look.caption = label.caption();
      look.font = label.font();
      break;
    }
    case Kind::Line: {
      const auto& line = static_cast<const Line&>(c);
      look.fore = line.borderColor();
      look.width = line.borderWidth;
      look.line = QLineF(toPixels(line.x1Twips(), line.y1Twips()), toPixels(line.x2Twips(), line.y2Twips()));
      break;
    }
    default:
      break;  // a picture looks the same wherever it is
  }
  return look;
}

void FaceSurface::controlChanged(const Control& control, Aspect aspect) {
  tellAssistiveTechnology(this, control, aspect);
  keyboard_->controlChanged(control, aspect);
  // A handler often writes a control several times (the highlights colour all
  // sixty dots, then five of them again); only where it ends counts.
  if (std::find(changed_.begin(), changed_.end(), &control) == changed_.end()) changed_.push_back(&control);
  if (compareQueued_) return;
  compareQueued_ = true;
  QMetaObject::invokeMethod(this, &FaceSurface::compareChanged, Qt::QueuedConnection);
}

namespace {

// Up to this many rectangles are joined pair by pair.
constexpr std::size_t kJoinedOneByOne = 12;

qint64 areaOf(const QRect& r) { return static_cast<qint64>(r.width()) * r.height(); }

QRegion regionOf(const std::vector<QRect>& rects) {
  QRegion region;
  for (const QRect& r : rects) region += r;
  return region;
}

}  // namespace

void FaceSurface::compareChanged() {
  compareQueued_ = false;
  if (!paintedOnce_) {
    // Nothing is on the screen yet; the first paint draws it all.
    changed_.clear();
    update();
    return;
  }
  std::vector<QRect> rects;
  const QRect face = rect();
  const auto pixelsOf = [&](const QRectF& r) { return r.isEmpty() ? QRect() : r.toAlignedRect() & face; };
  for (const Control* c : changed_) {
    Look now = lookOf(*c);
    Look& was = shown_[c];
    if (now == was) continue;
    // Where it was and where it is, as one rectangle when they overlap (a
    // hand turning about the centre).
    const QRect before = pixelsOf(was.bounds), after = pixelsOf(now.bounds);
    if (before.intersects(after)) {
      rects.push_back(before | after);
    } else {
      if (!before.isEmpty()) rects.push_back(before);
      if (!after.isEmpty()) rects.push_back(after);
    }
    was = std::move(now);
  }
  changed_.clear();
  if (rects.empty()) return;
  // Overlapping rectangles are joined: their union would be cut into bands
  // anyway, and the painter clips fastest to one rectangle. The hands all
  // meet at the centre, so a tick repaints them in one.
  for (bool joined = true; joined;) {
    joined = false;
    for (std::size_t i = 0; i < rects.size() && !joined; ++i)
      for (std::size_t j = i + 1; j < rects.size() && !joined; ++j)
        if (rects[i].intersects(rects[j])) {
          rects[i] |= rects[j];
          rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
          joined = true;
        }
  }
  if (rects.size() == 1) {
    update(rects.front());
    return;
  }
  // Every rectangle is one more transfer to the window system, so the pair
  // whose joint bounds add the least area is joined until few are left. A
  // change of many controls at once (a mode, a layout) repaints their bounds.
  if (rects.size() > kJoinedOneByOne) {
    QRect all;
    for (const QRect& r : rects) all |= r;
    update(all);
    return;
  }
  while (regionOf(rects).rectCount() > kMostRepaintRects && rects.size() > 1) {
    std::size_t bestI = 0, bestJ = 1;
    qint64 bestGrowth = std::numeric_limits<qint64>::max();
    for (std::size_t i = 0; i < rects.size(); ++i)
      for (std::size_t j = i + 1; j < rects.size(); ++j) {
        const qint64 growth = areaOf(rects[i] | rects[j]) - areaOf(rects[i]) - areaOf(rects[j]);
        if (growth < bestGrowth) bestGrowth = growth, bestI = i, bestJ = j;
      }
    rects[bestI] |= rects[bestJ];
    rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(bestJ));
  }
  update(regionOf(rects));
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

// A round-capped stroke is drawn as a flat-capped one with a disc at each
// end: Qt fills a flat-capped line straight from its corners, where a round
// cap makes it build and fill a curved outline of the whole stroke.
void FaceSurface::paintLine(QPainter& p, const Line& line) {
  const QColor colour = toQColor(line.borderColor(), this);
  const QPointF from = toPixels(line.x1Twips(), line.y1Twips());
  const QPointF to = toPixels(line.x2Twips(), line.y2Twips());
  const qreal width = line.borderWidth;
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

void FaceSurface::paintImage(QPainter& p, const Image& image) const {
  const QRectF r = toPixels(image.twips());
  const int devicePixels = static_cast<int>(std::ceil(std::max(r.width(), r.height()) * devicePixelRatioF()));
  if (devicePixels <= 0) return;
  const QPixmap& pixmap = emblemPixmap(image.picture(), devicePixels);
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
  // The repainted area in twips, widened by the margin boundsOf() gives a
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
    const QRectF bounds = boundsOf(*c);
    if (!bounds.intersects(area) || (!oneRect && !region.intersects(bounds.toAlignedRect()))) continue;
    Look& shown = shown_[c];
    if (std::find(changed_.begin(), changed_.end(), c) != changed_.end()) {
      // Changed since its last comparison, and now partly drawn the new
      // way: that comparison repaints all of it.
      shown.bounds |= bounds;
      shown.width = -1;  // no real look has a negative width
    } else if (shown.bounds.isEmpty()) {
      shown = lookOf(*c);  // on the screen for the first time
    }
    switch (c->kind()) {
      case Kind::Label:
        paintLabel(p, static_cast<const Label&>(*c));
        break;
      case Kind::Line:
        paintLine(p, static_cast<const Line&>(*c));
        break;
      case Kind::Image:
        paintImage(p, static_cast<const Image&>(*c));
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
