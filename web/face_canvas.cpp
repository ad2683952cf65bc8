#include "web/face_canvas.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>

#include "view/face_focus.h"
#include "web/dom_events.h"

// The canvas's 2D context, kept by the module; every call below is one call
// into the browser with plain numbers (a colour as 0xRRGGBB) and at most one
// text.
// clang-format off
EM_JS(void, tirpo_face_open, (), {
  var colours = {};
  Module.tirpoFace = {
    g: document.getElementById("face").getContext("2d"),
    pictures: {},
    colour: function (rgb) {
      return colours[rgb] || (colours[rgb] = "#" + (0x1000000 | rgb).toString(16).slice(1));
    }
  };
});

EM_JS(void, tirpo_face_store, (int w, int h), {
  var c = Module.tirpoFace.g.canvas;
  if (c.width !== w) c.width = w;
  if (c.height !== h) c.height = h;
});

EM_JS(void, tirpo_face_fill, (int rgb), {
  var f = Module.tirpoFace;
  f.g.fillStyle = f.colour(rgb);
});

EM_JS(void, tirpo_face_stroke, (int rgb, double width), {
  var f = Module.tirpoFace;
  f.g.strokeStyle = f.colour(rgb);
  f.g.lineWidth = width;
  f.g.lineCap = "round";
});

EM_JS(void, tirpo_face_font, (const char* css), {
  var g = Module.tirpoFace.g;
  g.font = UTF8ToString(css);
  g.textBaseline = "alphabetic";
});

EM_JS(void, tirpo_face_begin, (double sx, double sy), { Module.tirpoFace.g.setTransform(sx, 0, 0, sy, 0, 0); });

EM_JS(void, tirpo_face_clip, (int x, int y, int w, int h), {
  var g = Module.tirpoFace.g;
  g.save();
  g.beginPath();
  g.rect(x, y, w, h);
  g.clip();
});

EM_JS(void, tirpo_face_unclip, (), { Module.tirpoFace.g.restore(); });

EM_JS(void, tirpo_face_fill_rect, (double x, double y, double w, double h), {
  Module.tirpoFace.g.fillRect(x, y, w, h);
});

EM_JS(void, tirpo_face_stroke_rect, (double x, double y, double w, double h), {
  Module.tirpoFace.g.strokeRect(x, y, w, h);
});

EM_JS(void, tirpo_face_text, (const char* text, double x, double y), {
  Module.tirpoFace.g.fillText(UTF8ToString(text), x, y);
});

EM_JS(void, tirpo_face_line, (double x1, double y1, double x2, double y2), {
  var g = Module.tirpoFace.g;
  g.beginPath();
  g.moveTo(x1, y1);
  g.lineTo(x2, y2);
  g.stroke();
});

// A picture of the page, once it has arrived.
EM_JS(void, tirpo_face_picture, (const char* id, double x, double y, double w, double h), {
  var f = Module.tirpoFace, name = UTF8ToString(id);
  var p = f.pictures[name] || (f.pictures[name] = document.getElementById(name));
  if (!p || !p.complete || !p.naturalWidth) return;
  f.g.imageSmoothingEnabled = true;
  f.g.imageSmoothingQuality = "high";
  f.g.drawImage(p, x, y, w, h);
});

EM_JS(void, tirpo_face_painted, (), {
  if (self.performance && performance.mark) performance.mark("tirpo-face-painted");
});
// clang-format on

namespace tirpo::web {

int cssRgb(Colour c) {
  if (c == kSystemWindowText) return 0x000000;
  if (isSystemColour(c)) return 0xefefef;  // the button face, and any other
  return (redOf(c) << 16) | (greenOf(c) << 8) | blueOf(c);
}

std::string cssColour(Colour c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(cssRgb(c)));
  return text;
}

FaceCanvas::FaceCanvas(Form88& form, const CanvasTextMeasurer& measurer) : form_(form), measurer_(measurer) {
  tirpo_face_open();
}

void FaceCanvas::resize(int w, int h, double dpr) {
  width_ = std::max(0, w);
  height_ = std::max(0, h);
  store_ = backingStoreFor(width_, height_, dpr);
  tirpo_face_store(store_.width, store_.height);  // a new size clears the canvas, and its state
  forgetState();
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
  afterHandler(&FaceCanvas::onHandlerDone, this);
}

void FaceCanvas::onHandlerDone(void* self) {
  auto& face = *static_cast<FaceCanvas*>(self);
  face.scheduled_ = false;
  face.compareAndPaint();
}

void FaceCanvas::compareAndPaint() {
  const PixelBox face{0, 0, width_, height_};
  if (pageHidden()) {
    all_ = true;  // painted whole when the page shows again
    return;
  }
  if (all_) {
    all_ = false;
    pending_.clear();
    looks_.forgetChanges();
    for (const Control* c : form_.paintOrder()) looks_.shown(*c) = lookOf(*c, kTwipsPerCssPixel);
    paint({face});
    if (!painted_) tirpo_face_painted();
    painted_ = true;
    return;
  }
  // What the comparison takes as shown is what every control now looks
  // like: the painting below reads it.
  std::vector<PixelBox> areas = looks_.compare(face, kTwipsPerCssPixel);
  for (const PixelBox& b : pending_) areas.push_back(b.intersected(face));
  pending_.clear();
  areas.erase(std::remove_if(areas.begin(), areas.end(), [](const PixelBox& b) { return b.empty(); }), areas.end());
  if (!areas.empty()) paint(areas);
}

void FaceCanvas::paint(const std::vector<PixelBox>& areas) {
  tirpo_face_begin(store_.scaleX, store_.scaleY);
  const int back = cssRgb(form_.backColor());
  const std::vector<RingBand> bands = ringBands(ring_);
  for (const PixelBox& area : areas) {
    tirpo_face_clip(area.x, area.y, area.w, area.h);
    useFill(back);
    tirpo_face_fill_rect(area.x, area.y, area.w, area.h);
    // The ring first, under everything else, so it hides nothing.
    for (const RingBand& band : bands) {
      if (!band.box.intersects(area)) continue;
      useFill(band.white ? 0xffffff : 0x000000);
      tirpo_face_fill_rect(band.box.x, band.box.y, band.box.w, band.box.h);
    }
    const PixelRect clip{static_cast<double>(area.x), static_cast<double>(area.y), static_cast<double>(area.w),
                         static_cast<double>(area.h)};
    for (const Control* c : form_.paintOrder()) {
      const ControlLook& look = looks_.shown(*c);
      if (look.shown && look.bounds.intersects(clip)) paintControl(look);
    }
    tirpo_face_unclip();
    forgetState();
  }
}

void FaceCanvas::paintControl(const ControlLook& look) {
  switch (look.kind) {
    case Kind::Label: {
      const PixelRect& r = look.box;
      if (!look.transparent) {
        useFill(cssRgb(look.back));
        tirpo_face_fill_rect(r.x, r.y, r.w, r.h);
      }
      if (look.border) {
        useStroke(0x000000, 1);
        tirpo_face_stroke_rect(r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1);
      }
      if (look.font.size <= 0 || look.caption.empty()) break;
      const auto metrics = measurer_.lineMetrics(look.font);
      useFont(look.font);
      useFill(cssRgb(look.fore));
      const std::vector<std::string> lines = captionLines(look.caption);
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const double x = look.centred ? r.x + (r.w - measurer_.lineWidth(look.font, lines[i])) / 2 : r.x;
        tirpo_face_text(lines[i].c_str(), x, r.y + static_cast<double>(i) * metrics.height + metrics.ascent);
      }
      break;
    }
    case Kind::Line:
      useStroke(cssRgb(look.fore), look.width);
      tirpo_face_line(look.from.x, look.from.y, look.to.x, look.to.y);
      break;
    case Kind::Image:
      tirpo_face_picture(look.picture == Picture::Emblem16 ? "emblem16" : "emblem", look.box.x, look.box.y, look.box.w,
                         look.box.h);
      break;
    default:
      break;
  }
}

void FaceCanvas::useFill(int rgb) {
  if (rgb == fill_) return;
  tirpo_face_fill(rgb);
  fill_ = rgb;
}

void FaceCanvas::useStroke(int rgb, double width) {
  if (rgb == stroke_ && width == strokeWidth_) return;
  tirpo_face_stroke(rgb, width);
  stroke_ = rgb;
  strokeWidth_ = width;
}

void FaceCanvas::useFont(const FontSpec& font) {
  if (fontKnown_ && font == font_) return;
  tirpo_face_font(measurer_.css(font).c_str());
  font_ = font;
  fontKnown_ = true;
}

// Restoring the context, or sizing the canvas, sets its state back.
void FaceCanvas::forgetState() {
  fill_ = stroke_ = -1;
  strokeWidth_ = -1;
  fontKnown_ = false;
}

}  // namespace tirpo::web
