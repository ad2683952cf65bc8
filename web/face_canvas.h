#pragma once
// The face on a <canvas id="face"> covering the page: the window's
// windowless controls (labels, lines, pictures) painted in paint order in
// CSS pixels, the focus ring first. Its backing store is the CSS size times
// the device pixel ratio, so it is sharp at every zoom, within what browsers
// allow a canvas. Once a handler is done, each control it touched is
// compared by its look with what was last painted of it, and only where
// looks changed is painted again.

#include <emscripten/val.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "view/control_look.h"
#include "view/pixel_geometry.h"
#include "view/shown_looks.h"
#include "web/canvas_text_measurer.h"
#include "window/form88.h"

namespace tirpo::web {

// The backing store's pixels per CSS pixel for a CSS size and device pixel
// ratio: the ratio itself, lowered where the store would pass the largest
// canvas browsers draw (a side of kMaxCanvasSide, kMaxCanvasArea in all).
inline constexpr double kMaxCanvasSide = 16384;
inline constexpr double kMaxCanvasArea = 16777216;  // iPadOS Safari's limit
double backingScale(double cssWidth, double cssHeight, double devicePixelRatio);

// A window colour as CSS; system colours are the desktop's light grey
// button face and black text.
std::string cssColour(Colour c);

class FaceCanvas {
 public:
  FaceCanvas(Form88& form, const CanvasTextMeasurer& measurer);

  // The page's size in CSS pixels or its pixel ratio changed.
  void resize(int cssWidth, int cssHeight, double devicePixelRatio);
  int width() const { return width_; }
  int height() const { return height_; }
  // A control changed; compared once the handler is done.
  void controlChanged(const Control& control);
  // The window's colour changed, or pictures finished loading: all of it.
  void repaintAll();
  // Where the focus ring goes now (empty: no ring).
  void setRing(PixelBox outer);

 private:
  void schedule();
  static int onFrame(double time, void* self);
  void compareAndPaint();
  void paint(const std::vector<PixelBox>& areas);
  void paintControl(const ControlLook& look);

  Form88& form_;
  const CanvasTextMeasurer& measurer_;
  emscripten::val canvas_, context_;
  int width_ = 0, height_ = 0;
  double scale_ = 1;
  PixelBox ring_;
  ShownLooks looks_;               // what the canvas shows, and what changed since
  std::vector<PixelBox> pending_;  // areas to paint besides the changed looks
  bool all_ = true, scheduled_ = false;
};

}  // namespace tirpo::web
