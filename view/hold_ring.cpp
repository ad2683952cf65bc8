#include "view/hold_ring.h"

#include <algorithm>
#include <cmath>

namespace tirpo {

PixelBox HoldRing::area() const {
  const int half = static_cast<int>(std::ceil(kHoldRingRadius + kHoldRingBand));
  const int x = static_cast<int>(std::lround(centre.x)), y = static_cast<int>(std::lround(centre.y));
  return {x - half, y - half, 2 * half, 2 * half};
}

std::optional<HoldRing> holdRingFor(const TouchPress& touch, std::int64_t nowMs, double twipsPerPixel) {
  const double filled = touch.holdShown(nowMs);
  if (filled < 0) return std::nullopt;
  return HoldRing{toPixels(touch.xTwips(), touch.yTwips(), twipsPerPixel), filled};
}

std::int64_t holdRingAskAgainMs(const TouchPress::Verdict& verdict, bool ringShown) {
  if (verdict.askAgainMs <= 0) return 0;
  return ringShown ? std::min(verdict.askAgainMs, kHoldRingFrameMs) : verdict.askAgainMs;
}

}  // namespace tirpo
