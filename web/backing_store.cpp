#include "web/backing_store.h"

#include <algorithm>
#include <cmath>

namespace tirpo::web {

namespace {

int devicePixels(int css, double scale) {
  return static_cast<int>(std::clamp<long long>(std::llround(css * scale), 1, kMaxCanvasSide));
}

}  // namespace

BackingStore backingStoreFor(int cssWidth, int cssHeight, double dpr) {
  const int w = std::max(1, cssWidth), h = std::max(1, cssHeight);
  double scale = dpr > 0 && std::isfinite(dpr) ? dpr : 1;
  scale = std::min(scale, static_cast<double>(kMaxCanvasSide) / std::max(w, h));
  const double area = static_cast<double>(w) * h;
  scale = std::min(scale, std::sqrt(static_cast<double>(kMaxCanvasArea) / area));
  BackingStore b{devicePixels(w, scale), devicePixels(h, scale), 1, 1};
  // Both sides rounded up can still pass the area: the longer side gives.
  while (static_cast<long long>(b.width) * b.height > kMaxCanvasArea) {
    if (b.width >= b.height)
      --b.width;
    else
      --b.height;
  }
  b.scaleX = static_cast<double>(b.width) / w;
  b.scaleY = static_cast<double>(b.height) / h;
  return b;
}

}  // namespace tirpo::web
