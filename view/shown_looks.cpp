#include "view/shown_looks.h"

#include <algorithm>

#include "view/repaint_rects.h"

namespace tirpo {

void ShownLooks::changed(const Control& control) {
  if (!isChanged(control)) changed_.push_back(&control);
}

bool ShownLooks::isChanged(const Control& control) const {
  return std::find(changed_.begin(), changed_.end(), &control) != changed_.end();
}

std::vector<PixelBox> ShownLooks::compare(PixelBox face, double twipsPerPixel) {
  RepaintRects repaint(face);
  for (const Control* c : changed_) {
    ControlLook now = lookOf(*c, twipsPerPixel);
    ControlLook& was = shown_[c];
    repaint.changed(was, now);
    was = std::move(now);
  }
  changed_.clear();
  return repaint.joined();
}

}  // namespace tirpo
