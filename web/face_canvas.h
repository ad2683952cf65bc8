#pragma once
// The face on a <canvas id="face"> covering the page: the window's
// windowless controls (labels, lines, pictures) painted in paint order in
// CSS pixels, the focus ring first. Its backing store is the CSS size times
// the device pixel ratio, within what browsers allow a canvas
// (web/backing_store.h). Once a handler is done, each control it touched is
// compared by its look with what was last painted of it, and only where
// looks changed is painted again, in the same task: a tick that changes
// nothing on the face costs no frame. A hidden page paints nothing; it is
// painted whole when it shows again.

#include <string>
#include <vector>

#include "view/control_look.h"
#include "view/pixel_geometry.h"
#include "view/shown_looks.h"
#include "web/backing_store.h"
#include "web/canvas_text_measurer.h"
#include "window/form88.h"

namespace tirpo::web {

// A window colour as CSS; system colours are the desktop's light grey
// button face and black text.
std::string cssColour(Colour c);
// The same as 0xRRGGBB.
int cssRgb(Colour c);

class FaceCanvas {
 public:
  FaceCanvas(Form88& form, const CanvasTextMeasurer& measurer);

  // The page's size in CSS pixels or its pixel ratio changed.
  void resize(int cssWidth, int cssHeight, double devicePixelRatio);
  int width() const { return width_; }
  int height() const { return height_; }
  // A control changed; compared once the handler is done.
  void controlChanged(const Control& control);
  // The window's colour changed, pictures finished loading, or the page
  // shows again: all of it.
  void repaintAll();
  // Where the focus ring goes now (empty: no ring).
  void setRing(PixelBox outer);

 private:
  void schedule();
  static void onHandlerDone(void* self);
  void compareAndPaint();
  void paint(const std::vector<PixelBox>& areas);
  void paintControl(const ControlLook& look);
  void useFill(int rgb);
  void useStroke(int rgb, double width);
  void useFont(const FontSpec& font);
  void forgetState();

  Form88& form_;
  const CanvasTextMeasurer& measurer_;
  int width_ = 0, height_ = 0;
  BackingStore store_;
  PixelBox ring_;
  ShownLooks looks_;               // what the canvas shows, and what changed since
  std::vector<PixelBox> pending_;  // areas to paint besides the changed looks
  bool all_ = true, scheduled_ = false, painted_ = false;
  // What the canvas context has set now (-1, empty: not known).
  int fill_ = -1, stroke_ = -1;
  double strokeWidth_ = -1;
  FontSpec font_;
  bool fontKnown_ = false;
};

}  // namespace tirpo::web
