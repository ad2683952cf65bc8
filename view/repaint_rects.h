#pragma once
// Which pixels of the face to repaint once a handler is done: for each
// control whose look changed, where it was and where it is, joined into a
// few rectangles. Every rectangle is one more transfer to the screen, and a
// painter clips fastest to one rectangle.

#include <vector>

#include "view/control_look.h"
#include "view/pixel_geometry.h"

namespace tirpo {

// The most rectangles one comparison repaints; nearer ones are joined.
inline constexpr int kMostRepaintRects = 3;

// Collects the changed areas of one comparison.
class RepaintRects {
 public:
  explicit RepaintRects(PixelBox face) : face_(face) {}
  // A control went from looking like `was` to looking like `now`.
  void changed(const ControlLook& was, const ControlLook& now);
  // The rectangles to repaint: no two overlap, and as a region they make at
  // most kMostRepaintRects bands of rectangles.
  std::vector<PixelBox> joined() const;

 private:
  PixelBox face_;
  std::vector<PixelBox> rects_;
};

// How many rectangles the union of the boxes makes when cut, as a region
// is, into horizontal bands of side-by-side rectangles (bands with the same
// columns one above the other counting as one).
int bandedRectCount(const std::vector<PixelBox>& boxes);

}  // namespace tirpo
