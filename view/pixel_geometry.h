#pragma once
// Where the window's twips land on a screen: rectangles and points in the
// platform's logical pixels, and the whole-pixel boxes that repaints and the
// focus ring are made of.

#include <algorithm>
#include <cmath>

#include "window/control.h"

namespace tirpo {

// A browser's CSS pixel is a 96-dpi pixel: 1440 / 96 twips.
inline constexpr double kTwipsPerCssPixel = 15.0;

struct PixelPoint {
  double x = 0, y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// A box of whole pixels; empty when either side is 0 or less.
struct PixelBox {
  int x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
  int right() const { return x + w; }   // one past the last column
  int bottom() const { return y + h; }  // one past the last row
  long long area() const { return empty() ? 0 : static_cast<long long>(w) * h; }
  bool intersects(const PixelBox& o) const {
    return !empty() && !o.empty() && x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
  }
  // The smallest box holding both; an empty one adds nothing.
  PixelBox united(const PixelBox& o) const {
    if (empty()) return o;
    if (o.empty()) return *this;
    const int l = std::min(x, o.x), t = std::min(y, o.y);
    return {l, t, std::max(right(), o.right()) - l, std::max(bottom(), o.bottom()) - t};
  }
  PixelBox intersected(const PixelBox& o) const {
    const int l = std::max(x, o.x), t = std::max(y, o.y);
    const int r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
    if (r <= l || b <= t) return {};
    return {l, t, r - l, b - t};
  }
  PixelBox adjusted(int dl, int dt, int dr, int db) const { return {x + dl, y + dt, w - dl + dr, h - dt + db}; }
  bool operator==(const PixelBox&) const = default;
};

struct PixelRect {
  double x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return !(w > 0) || !(h > 0); }
  PixelRect adjusted(double dl, double dt, double dr, double db) const {
    return {x + dl, y + dt, w - dl + dr, h - dt + db};
  }
  bool intersects(const PixelRect& o) const {
    return !empty() && !o.empty() && x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
  }
  PixelRect united(const PixelRect& o) const {
    if (empty()) return o;
    if (o.empty()) return *this;
    const double l = std::min(x, o.x), t = std::min(y, o.y);
    return {l, t, std::max(x + w, o.x + o.w) - l, std::max(y + h, o.y + o.h) - t};
  }
  // The whole pixels it touches (an empty rectangle touches none).
  PixelBox aligned() const {
    if (empty()) return {};
    const int l = static_cast<int>(std::floor(x)), t = static_cast<int>(std::floor(y));
    return {l, t, static_cast<int>(std::ceil(x + w)) - l, static_cast<int>(std::ceil(y + h)) - t};
  }
  bool operator==(const PixelRect&) const = default;
};

inline PixelRect toPixels(const TwipRect& r, double twipsPerPixel) {
  return {r.left / twipsPerPixel, r.top / twipsPerPixel, r.width / twipsPerPixel, r.height / twipsPerPixel};
}
inline PixelPoint toPixels(double xTwips, double yTwips, double twipsPerPixel) {
  return {xTwips / twipsPerPixel, yTwips / twipsPerPixel};
}

// The client area, in whole pixels (at least one), of a window whose outer
// size is outerTwips and whose frame takes framePixels of it. A platform
// that finds its client area at this size keeps the outer size the window
// asked for rather than one worked back from rounded pixels.
inline int clientPixelsFor(double outerTwips, int framePixels, double twipsPerPixel) {
  return std::max(1, static_cast<int>(std::lround(outerTwips / twipsPerPixel)) - framePixels);
}

}  // namespace tirpo
