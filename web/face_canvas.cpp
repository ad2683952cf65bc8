#include "web/face_canvas.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "view/face_focus.h"
#include "view/repaint_rects.h"
#include "web/dom_events.h"

namespace tirpo::web {

using emscripten::val;

double backingScale(double w, double h, double dpr) {
  double scale = dpr > 0 && std::isfinite(dpr) ? dpr : 1;
  const double side = std::max(w, h);
  if (side * scale > kMaxCanvasSide) scale = kMaxCanvasSide / side;
  if (w * h * scale * scale > kMaxCanvasArea) scale = std::sqrt(kMaxCanvasArea / (w * h));
  return scale;
}

std::string cssColour(Colour c) {
  if (c == kSystemButtonFace) return "#efefef";
  if (c == kSystemWindowText) return "#000000";
  if (isSystemColour(c)) return "#efefef";
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(c), greenOf(c), blueOf(c));
  return text;
}

FaceCanvas::FaceCanvas(Form88& form, const CanvasTextMeasurer& measurer)
    : form_(form),
      measurer_(measurer),
      canvas_(element("face")),
      context_(canvas_.call<val>("getContext", std::string("2d"), val::object())) {}

void FaceCanvas::resize(int w, int h, double dpr) {
  width_ = std::max(0, w);
  height_ = std::max(0, h);
  scale_ = backingScale(std::max(1, width_), std::max(1, height_), dpr);
  const int bw = std::max(1, static_cast<int>(std::lround(width_ * scale_)));
  const int bh = std::max(1, static_cast<int>(std::lround(height_ * scale_)));
  if (canvas_["width"].as<int>() != bw) canvas_.set("width", bw);
  if (canvas_["height"].as<int>() != bh) canvas_.set("height", bh);
  repaintAll();
}

void FaceCanvas::controlChanged(const Control& control) {
  looks_.changed(control);
  schedule();
}

void FaceCanvas::repaintAll() {
  all_ = true;
  schedule();
}

void FaceCanvas::setRing(PixelBox outer) {
  if (outer == ring_) return;
  for (const PixelBox& b : ringArea(ring_)) pending_.push_back(b);
  for (const PixelBox& b : ringArea(outer)) pending_.push_back(b);
  ring_ = outer;
  schedule();
}

void FaceCanvas::schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  emscripten_request_animation_frame(&FaceCanvas::onFrame, this);
}

int FaceCanvas::onFrame(double, void* self) {
  auto& face = *static_cast<FaceCanvas*>(self);
  face.scheduled_ = false;
  face.compareAndPaint();
  return 0;  // once
}

void FaceCanvas::compareAndPaint() {
  const PixelBox face{0, 0, width_, height_};
  if (all_) {
    all_ = false;
    pending_.clear();
    looks_.forgetAll();
    paint({face});
    return;
  }
  std::vector<PixelBox> areas = looks_.compare(face, kTwipsPerCssPixel);
  for (const PixelBox& b : pending_) areas.push_back(b.intersected(face));
  pending_.clear();
  areas.erase(std::remove_if(areas.begin(), areas.end(), [](const PixelBox& b) { return b.empty(); }), areas.end());
  if (!areas.empty()) paint(areas);
}

void FaceCanvas::paint(const std::vector<PixelBox>& areas) {
  val& p = context_;
  p.call<void>("setTransform", scale_, 0, 0, scale_, 0, 0);
  for (const PixelBox& area : areas) {
    p.call<void>("save");
    p.call<void>("beginPath");
    p.call<void>("rect", area.x, area.y, area.w, area.h);
    p.call<void>("clip");
    p.set("fillStyle", cssColour(form_.backColor()));
    p.call<void>("fillRect", area.x, area.y, area.w, area.h);
    // The ring first, under everything else, so it hides nothing.
    for (const RingBand& band : ringBands(ring_)) {
      if (!band.box.intersects(area)) continue;
      p.set("fillStyle", std::string(band.white ? "#ffffff" : "#000000"));
      p.call<void>("fillRect", band.box.x, band.box.y, band.box.w, band.box.h);
    }
    const PixelRect clip{static_cast<double>(area.x), static_cast<double>(area.y), static_cast<double>(area.w),
                         static_cast<double>(area.h)};
    for (const Control* c : form_.paintOrder()) {
      if (!c->visible()) continue;
      ControlLook look = lookOf(*c, kTwipsPerCssPixel);
      if (!look.bounds.intersects(clip)) {
        looks_.shown(*c) = std::move(look);
        continue;
      }
      paintControl(look);
      looks_.shown(*c) = std::move(look);
    }
    p.call<void>("restore");
  }
  // Hidden controls show nothing; what they last looked like is compared
  // with what they look like when shown again.
  for (const Control* c : form_.paintOrder())
    if (!c->visible()) looks_.shown(*c) = lookOf(*c, kTwipsPerCssPixel);
}

void FaceCanvas::paintControl(const ControlLook& look) {
  val& p = context_;
  switch (look.kind) {
    case Kind::Label: {
      const PixelRect& r = look.box;
      if (!look.transparent) {
        p.set("fillStyle", cssColour(look.back));
        p.call<void>("fillRect", r.x, r.y, r.w, r.h);
      }
      if (look.border) {
        p.set("strokeStyle", std::string("#000000"));
        p.set("lineWidth", 1);
        p.call<void>("strokeRect", r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1);
      }
      if (look.font.size <= 0 || look.caption.empty()) break;
      const auto metrics = measurer_.lineMetrics(look.font);
      p.set("font", cssFont(look.font));
      p.set("fillStyle", cssColour(look.fore));
      p.set("textBaseline", std::string("alphabetic"));
      const std::vector<std::string> lines = captionLines(look.caption);
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const double w = measurer_.lineWidth(look.font, lines[i]);
        const double x = look.centred ? r.x + (r.w - w) / 2 : r.x;
        p.call<void>("fillText", lines[i], x, r.y + static_cast<double>(i) * metrics.height + metrics.ascent);
      }
      break;
    }
    case Kind::Line: {
      p.set("strokeStyle", cssColour(look.fore));
      p.set("lineWidth", look.width);
      p.set("lineCap", std::string("round"));
      p.call<void>("beginPath");
      p.call<void>("moveTo", look.from.x, look.from.y);
      p.call<void>("lineTo", look.to.x, look.to.y);
      p.call<void>("stroke");
      break;
    }
    case Kind::Image: {
      const val picture = element(look.picture == Picture::Emblem16 ? "emblem16" : "emblem");
      if (picture.isNull() || !picture["complete"].as<bool>() || picture["naturalWidth"].as<int>() == 0) break;
      p.set("imageSmoothingEnabled", true);
      p.set("imageSmoothingQuality", std::string("high"));
      p.call<void>("drawImage", picture, look.box.x, look.box.y, look.box.w, look.box.h);
      break;
    }
    default:
      break;
  }
}

}  // namespace tirpo::web
