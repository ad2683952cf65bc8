// The ring around a held finger: where it shows, when, how far it has
// filled, the square it is drawn in, and how often it is redrawn. When it
// goes is the touch rule's (tests/window/touch_press_test.cpp).

#include <gtest/gtest.h>

#include <cmath>

#include "view/hold_ring.h"
#include "window/form88.h"

namespace tirpo {
namespace {

constexpr std::int64_t kShow = TouchPress::kShowHoldAfterMs;
constexpr std::int64_t kHold = TouchPress::kHoldMs;

TEST(HoldRing, ShowsWhereTheFingerCameDownOnceItHasStayed) {
  const struct {
    double twipsPerPixel;
    std::int64_t after;  // since the finger came down
    bool shown;
    double filled;
  } rows[] = {
      {15, 0, false, 0},
      {15, kShow - 1, false, 0},
      {15, kShow, true, 0},
      {15, (kShow + kHold) / 2, true, 0.5},
      {12, (kShow + kHold) / 2, true, 0.5},  // 120 dpi
      {15, kHold - 1, true, 1 - 1.0 / static_cast<double>(kHold - kShow)},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.after << " ms at " << r.twipsPerPixel << " twips a pixel");
    TouchPress touch;
    touch.down(7, 600, 900, 1000);
    const std::optional<HoldRing> ring = holdRingFor(touch, 1000 + r.after, r.twipsPerPixel);
    ASSERT_EQ(ring.has_value(), r.shown);
    if (!ring) continue;
    EXPECT_EQ(ring->centre, (PixelPoint{600 / r.twipsPerPixel, 900 / r.twipsPerPixel}));
    EXPECT_DOUBLE_EQ(ring->filled, r.filled);
    EXPECT_DOUBLE_EQ(ring->sweepDegrees(), 360 * r.filled);
  }
}

// The square holds the whole band, smoothed edge included, centred on the
// finger to the nearest pixel.
TEST(HoldRing, AreaHoldsTheWholeBandAroundTheFinger) {
  const double reach = kHoldRingRadius + kHoldRingBand / 2 + 1;
  for (const PixelPoint centre : {PixelPoint{100, 80}, PixelPoint{10.4, 7.6}, PixelPoint{0, 0}}) {
    SCOPED_TRACE(testing::Message() << centre.x << "," << centre.y);
    const PixelBox area = HoldRing{centre, 0.3}.area();
    EXPECT_EQ(area.w, area.h);
    EXPECT_LE(std::abs(area.x + area.w / 2.0 - centre.x), 0.5);
    EXPECT_LE(std::abs(area.y + area.h / 2.0 - centre.y), 0.5);
    EXPECT_LE(area.x, centre.x - reach);
    EXPECT_GE(area.right(), centre.x + reach);
    EXPECT_LE(area.y, centre.y - reach);
    EXPECT_GE(area.bottom(), centre.y + reach);
  }
}

TEST(HoldRing, AsksAgainAtLeastOnceAFrameWhileShown) {
  const struct {
    std::int64_t askAgainMs;
    bool shown;
    std::int64_t expected;
  } rows[] = {
      {0, false, 0},
      {0, true, 0},
      {kShow, false, kShow},
      {kHold - kShow, false, kHold - kShow},
      {kHold - kShow, true, kHoldRingFrameMs},
      {3, true, 3},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.askAgainMs << (r.shown ? " shown" : " not shown"));
    TouchPress::Verdict v;
    v.askAgainMs = r.askAgainMs;
    EXPECT_EQ(holdRingAskAgainMs(v, r.shown), r.expected);
  }
}

}  // namespace
}  // namespace tirpo
