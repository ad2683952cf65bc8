#pragma once
// What the screen shows of each control, and which controls changed since
// it was last compared. A platform reports every change here, compares once
// the handler that made them is done, and repaints where the comparison
// says; whatever it paints it records as shown.

#include <unordered_map>
#include <vector>

#include "view/control_look.h"
#include "view/pixel_geometry.h"
#include "window/control.h"

namespace tirpo {

class ShownLooks {
 public:
  // A control changed. A handler often writes one several times (the
  // highlights colour all sixty dots, then five of them again): only where
  // it ends counts, so it is listed once.
  void changed(const Control& control);
  // Changed since its last comparison.
  bool isChanged(const Control& control) const;
  // Compares every changed control with what the screen shows of it, takes
  // its look now as shown, and returns the rectangles within the face to
  // repaint (see RepaintRects).
  std::vector<PixelBox> compare(PixelBox face, double twipsPerPixel);
  // What the screen shows of a control (a default look when it never showed).
  ControlLook& shown(const Control& control) { return shown_[&control]; }
  // Nothing is on the screen yet: the next paint draws everything.
  void forgetChanges() { changed_.clear(); }
  void forgetAll() {
    changed_.clear();
    shown_.clear();
  }

 private:
  std::unordered_map<const Control*, ControlLook> shown_;
  std::vector<const Control*> changed_;
};

}  // namespace tirpo
