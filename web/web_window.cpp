#include "web/web_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "view/pixel_geometry.h"
#include "web/dom_events.h"
#include "web/face_pointer.h"

namespace tirpo::web {

using emscripten::val;

WebWindow::WebWindow()
    : form_(measurer_, clock_), canvas_(form_, measurer_), timer1_(form_.Timer1, true), timer4_(form_.Timer4, false) {}

WebWindow::~WebWindow() { form_.setObserver(nullptr); }

void WebWindow::start() {
  controls_ = std::make_unique<WindowedControls>(form_);
  access_ = std::make_unique<FaceAccess>(form_, canvas_);
  touch_ = std::make_unique<FaceTouch>(form_);
  titleHelp_ = std::make_unique<TitleHelp>(form_);
  form_.setObserver(this);
  controls_->syncAll();
  windowChanged(Aspect::Text);
  windowChanged(Aspect::Colour);
  form_.Form_Load();
  timer1_.sync();
  timer4_.sync();
  viewportChanged();
  form_.Form_Resize();  // the window lays its face out again when first shown
  listenForPresses(form_, *touch_);
  listen("window", "resize", [this](val) { viewportChanged(); });
  // A tab back from the background shows the right time at once.
  listen("document", "visibilitychange", [this](val) {
    if (document()["visibilityState"].as<std::string>() != "visible") return;
    timer1_.tickNow();
    canvas_.repaintAll();
  });
  // The pictures are drawn once they have arrived.
  for (const char* id : {"emblem", "emblem16"}) listen(id, "load", [this](val) { canvas_.repaintAll(); });
  watchPixelRatio();
}

// A new pixel ratio with the same CSS size (the window moved to another
// screen) changes no size, only the canvas's backing store.
void WebWindow::watchPixelRatio() {
  char query[64];
  std::snprintf(query, sizeof query, "(resolution: %gdppx)", window()["devicePixelRatio"].as<double>());
  listenMedia(query, [this](val) {
    viewportChanged();
    watchPixelRatio();
  });
}

void WebWindow::viewportChanged() {
  if (titleHelp_) titleHelp_->changed();
  const val w = window();
  const int width = std::max(1, w["innerWidth"].as<int>()), height = std::max(1, w["innerHeight"].as<int>());
  canvas_.resize(width, height, w["devicePixelRatio"].as<double>());
  if (access_) access_->resized();
  // The viewport at the size the window asked for keeps that size.
  if (width == clientPixelsFor(form_.width(), 0, kTwipsPerCssPixel) &&
      height == clientPixelsFor(form_.height(), 0, kTwipsPerCssPixel))
    return;
  form_.windowResized(width * kTwipsPerCssPixel, height * kTwipsPerCssPixel, 0, 0);
}

void WebWindow::controlChanged(Control& control, Aspect aspect) {
  switch (control.kind()) {
    case Kind::Timer:
      if (&control == &form_.Timer1) timer1_.sync();
      if (&control == &form_.Timer4) timer4_.sync();
      return;
    case Kind::Label:
    case Kind::Line:
    case Kind::Image:
      canvas_.controlChanged(control);
      if (access_) access_->controlChanged(control, aspect);
      if (control.kind() == Kind::Image) shownChanged(aspect);
      return;
    default:
      if (controls_) controls_->sync(control);
      shownChanged(aspect);
      return;
  }
}

// A picture or a windowed control shown, hidden or moved: the title shown
// in the page keeps clear of it.
void WebWindow::shownChanged(Aspect aspect) {
  if (titleHelp_ && (aspect == Aspect::Visible || aspect == Aspect::Geometry)) titleHelp_->changed();
}

void WebWindow::controlLoaded(Control& control) { canvas_.controlChanged(control); }

void WebWindow::windowChanged(Aspect aspect) {
  switch (aspect) {
    case Aspect::Text:
      document().set("title", form_.caption());
      if (titleHelp_) titleHelp_->changed();
      break;
    case Aspect::Colour:
      setStyle(document()["body"], "background-color", cssColour(form_.backColor()));
      canvas_.repaintAll();
      break;
    case Aspect::Geometry:
      break;  // a page cannot size its viewport: the size it has stands
    default:
      break;
  }
}

}  // namespace tirpo::web
