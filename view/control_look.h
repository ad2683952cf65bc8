#pragma once
// What a windowless control (label, line, picture) looks like on the face:
// everything its painting reads, in pixels. Both the repaint comparison and
// the painting take a control through its look, so nothing can be painted
// that is not compared. A hidden control looks like nothing.

#include <string>

#include "view/pixel_geometry.h"
#include "window/controls.h"

namespace tirpo {

struct ControlLook {
  Kind kind = Kind::Label;
  bool shown = false;  // visible; every other field is empty when not
  PixelRect bounds;    // all the pixels the painting may touch, with a margin
  PixelRect box;       // the control's own rectangle
  // Labels: text colour, back colour (0 for a transparent label), caption.
  Colour fore = 0, back = 0;
  bool transparent = false, border = false, centred = false;
  std::string caption;
  FontSpec font;
  // Lines: the ends and the pen width in pixels; fore is the pen colour.
  PixelPoint from, to;
  int width = 0;
  // Pictures.
  Picture picture = Picture::Emblem;
  bool operator==(const ControlLook&) const = default;
};

// The margin around a label's or picture's rectangle that its painting may
// reach (antialiasing), in pixels.
inline constexpr double kLookMargin = 2;

ControlLook lookOf(const Control& control, double twipsPerPixel);

}  // namespace tirpo
