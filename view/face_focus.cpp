#include "view/face_focus.h"

namespace tirpo {

Image* FaceFocus::visiblePicture(Form88& f) {
  if (f.Image4.visible()) return &f.Image4;
  if (f.Image1.visible()) return &f.Image1;
  return nullptr;
}

bool FaceFocus::tabForward(Form88& form) {
  if (onPicture_ || !visiblePicture(form)) return false;
  onPicture_ = true;
  return true;
}

bool FaceFocus::tabBack(Form88& form) {
  if (!onPicture_ || !visiblePicture(form)) return false;
  onPicture_ = false;
  return true;
}

void FaceFocus::picturesChanged(Form88& form) {
  if (!visiblePicture(form)) onPicture_ = false;
}

PixelBox ringOuter(PixelBox face, const PixelRect* picture) {
  if (picture) {
    const int out = kRingGap + 2 * kRingBand;
    return picture->aligned().adjusted(-out, -out, out, out);
  }
  return face.adjusted(kRingGap, kRingGap, -kRingGap, -kRingGap);
}

std::vector<PixelBox> bandInside(PixelBox b, int width) {
  if (b.empty()) return {};
  if (2 * width >= b.w || 2 * width >= b.h) return {b};
  return {
      {b.x, b.y, b.w, width},                                    // top
      {b.x, b.y + width, width, b.h - 2 * width},                // left
      {b.right() - width, b.y + width, width, b.h - 2 * width},  // right
      {b.x, b.bottom() - width, b.w, width},                     // bottom
  };
}

std::vector<PixelBox> ringArea(PixelBox outer) { return bandInside(outer, 2 * kRingBand); }

std::vector<RingBand> ringBands(PixelBox outer) {
  std::vector<RingBand> bands;
  for (const PixelBox& b : bandInside(outer, kRingBand)) bands.push_back({b, true});
  for (const PixelBox& b : bandInside(outer.adjusted(kRingBand, kRingBand, -kRingBand, -kRingBand), kRingBand))
    bands.push_back({b, false});
  return bands;
}

}  // namespace tirpo
