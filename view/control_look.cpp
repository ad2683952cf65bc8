#include "view/control_look.h"

namespace tirpo {

ControlLook lookOf(const Control& c, double tpp) {
  ControlLook look;
  look.kind = c.kind();
  if (!c.visible()) return look;
  look.shown = true;
  switch (c.kind()) {
    case Kind::Label: {
      const auto& label = static_cast<const Label&>(c);
      look.box = toPixels(label.twips(), tpp);
      look.bounds = look.box.adjusted(-kLookMargin, -kLookMargin, kLookMargin, kLookMargin);
      look.fore = label.foreColor();
      look.transparent = label.transparent;
      look.back = label.transparent ? 0 : label.backColor();
      look.border = label.border;
      look.centred = label.centred;
      look.caption = label.caption();
      look.font = label.font();
      break;
    }
    case Kind::Line: {
      const auto& line = static_cast<const Line&>(c);
      look.from = toPixels(line.x1Twips(), line.y1Twips(), tpp);
      look.to = toPixels(line.x2Twips(), line.y2Twips(), tpp);
      look.fore = line.borderColor();
      look.width = line.borderWidth;
      // The round ends reach half the pen beyond the end points.
      const double pad = line.borderWidth / 2.0 + kLookMargin;
      const double l = std::min(look.from.x, look.to.x), r = std::max(look.from.x, look.to.x);
      const double t = std::min(look.from.y, look.to.y), b = std::max(look.from.y, look.to.y);
      look.bounds = PixelRect{l, t, r - l, b - t}.adjusted(-pad, -pad, pad, pad);
      break;
    }
    case Kind::Image: {
      const auto& image = static_cast<const Image&>(c);
      look.box = toPixels(image.twips(), tpp);
      look.bounds = look.box.adjusted(-kLookMargin, -kLookMargin, kLookMargin, kLookMargin);
      look.picture = image.picture();
      break;
    }
    default:
      look.box = toPixels(c.twips(), tpp);
      look.bounds = look.box;
      break;
  }
  return look;
}

}  // namespace tirpo
