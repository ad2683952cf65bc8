#pragma once
// The face from the keyboard, whatever shows it. The face takes the focus
// by Tab only (a mouse press leaves the focus where it was) and is the last
// stop of the window's tab chain; the visible centre picture, which shows or
// hides the minute numerals, is one more stop after it. Whichever of the two
// has the focus wears a black and white ring: a white band around a black
// one, just inside the face's edge or just outside the picture, painted
// before anything else on the face so that it covers no numeral, dot or hand
// and shows on every background the face takes.

#include <vector>

#include "view/pixel_geometry.h"
#include "window/form88.h"

namespace tirpo {

// Each band of the ring is this wide, and the ring keeps this far inside the
// face's edge or outside the picture.
inline constexpr int kRingBand = 2;
inline constexpr int kRingGap = 2;

class FaceFocus {
 public:
  // The visible centre picture, if any.
  static Image* visiblePicture(Form88& form);

  // The picture holding the focus, or nullptr (the face has it, or neither
  // has, when the face is not focused).
  Image* focusedPicture(Form88& form, bool faceFocused) const {
    return faceFocused && onPicture_ ? visiblePicture(form) : nullptr;
  }
  // The face gained the focus: by Tab it starts on the face, by Shift+Tab on
  // the last stop, the picture.
  void enteredForward() { onPicture_ = false; }
  void enteredBackward(Form88& form) { onPicture_ = visiblePicture(form) != nullptr; }
  // Tab and Shift+Tab while the face has the focus: true when they move
  // between the face and its picture, false when the focus leaves the face.
  bool tabForward(Form88& form);
  bool tabBack(Form88& form);
  // A picture was shown or hidden: the picture pressed gives way to the
  // other one, which keeps the stop; with neither shown the stop goes back
  // to the face.
  void picturesChanged(Form88& form);
  bool onPicture() const { return onPicture_; }

 private:
  bool onPicture_ = false;
};

struct RingBand {
  PixelBox box;
  bool white = false;
};

// The ring's outer edge around the focused picture's rectangle, or inside
// the face when picture is nullptr; empty when the face has no focus.
PixelBox ringOuter(PixelBox face, const PixelRect* picture);
// The pixels the ring covers (for repainting) and what to paint there.
std::vector<PixelBox> ringArea(PixelBox outer);
std::vector<RingBand> ringBands(PixelBox outer);
// A band of the given width just inside a box, as up to four boxes.
std::vector<PixelBox> bandInside(PixelBox box, int width);

}  // namespace tirpo
