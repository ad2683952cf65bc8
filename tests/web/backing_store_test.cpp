// The face canvas's backing store: the CSS size times the device pixel
// ratio, lowered to what every browser draws, in whole pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "web/backing_store.h"

namespace tirpo::web {
namespace {

TEST(BackingStore, SizeForTheViewportAndRatio) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    int w, h;
    double ratio;
    int storeW, storeH;
  } rows[] = {
      {"start-up size", 387, 387, 1, 387, 387},
      {"a retina screen", 387, 387, 2, 774, 774},
      {"zoom 125 %, rounded", 387, 387, 1.25, 484, 484},
      {"zoom 25 %", 387, 387, 0.25, 97, 97},
      {"zoom 500 %", 387, 387, 5, 1935, 1935},
      {"a 1 x 1 viewport", 1, 1, 1, 1, 1},
      {"no size at all", 0, 0, 1, 1, 1},
      {"a ratio of 0 counts as 1", 300, 200, 0, 300, 200},
      {"a negative ratio counts as 1", 300, 200, -2, 300, 200},
      {"no ratio counts as 1", 300, 200, nan, 300, 200},
      {"a wall screen: the area gives", 8000, 8000, 1, 4096, 4096},
      {"a wall screen at ratio 5", 8000, 8000, 5, 4096, 4096},
      {"a long strip: the side gives", 20000, 10, 1, 16384, 8},
      {"4K at ratio 2, within the area", 1920, 1080, 2, 3840, 2160},
      {"4K at ratio 3: the area gives", 1920, 1080, 3, 5461, 3072},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const BackingStore b = backingStoreFor(r.w, r.h, r.ratio);
    EXPECT_EQ(b.width, r.storeW);
    EXPECT_EQ(b.height, r.storeH);
    EXPECT_DOUBLE_EQ(b.scaleX, static_cast<double>(b.width) / std::max(1, r.w));
    EXPECT_DOUBLE_EQ(b.scaleY, static_cast<double>(b.height) / std::max(1, r.h));
  }
}

// Every size and ratio: within both limits after rounding, and no smaller
// than the limits make it (a store rounded down a whole step too far would
// blur the face for nothing).
TEST(BackingStore, NeverPastTheLimitsNorNeedlesslyBelow) {
  int capped = 0;
  for (const double ratio : {1.0, 1.25, 1.5, 2.0, 3.0, 4.0, 5.0}) {
    for (int w = 1; w <= 12000; w += 97) {
      for (int h = 1; h <= 12000; h += 89) {
        const BackingStore b = backingStoreFor(w, h, ratio);
        const long long area = static_cast<long long>(b.width) * b.height;
        ASSERT_LE(b.width, kMaxCanvasSide) << w << "x" << h << " at " << ratio;
        ASSERT_LE(b.height, kMaxCanvasSide) << w << "x" << h << " at " << ratio;
        ASSERT_LE(area, kMaxCanvasArea) << w << "x" << h << " at " << ratio << ": " << b.width << "x" << b.height;
        ASSERT_GE(std::min(b.width, b.height), 1);
        const long long full = std::llround(w * ratio) * std::llround(h * ratio);
        if (full <= kMaxCanvasArea && std::max(w, h) * ratio <= kMaxCanvasSide) {
          ASSERT_EQ(b.width, std::llround(w * ratio)) << w << "x" << h << " at " << ratio;
          ASSERT_EQ(b.height, std::llround(h * ratio)) << w << "x" << h << " at " << ratio;
        } else {
          ++capped;
          // One pixel more on each side would pass a limit.
          const bool full_side = std::max(b.width, b.height) >= kMaxCanvasSide - 1;
          const bool full_area = static_cast<long long>(b.width + 2) * (b.height + 2) > kMaxCanvasArea;
          ASSERT_TRUE(full_side || full_area) << w << "x" << h << " at " << ratio << ": " << b.width << "x" << b.height;
        }
      }
    }
  }
  EXPECT_GT(capped, 1000);  // the limits were reached often enough to count
}

}  // namespace
}  // namespace tirpo::web
