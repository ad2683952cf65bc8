// The repaint rectangles: where a control was and where it is, joined so
// that a comparison repaints few rectangles and never one twice.

#include <gtest/gtest.h>

#include <vector>

#include "view/repaint_rects.h"

namespace tirpo {
namespace {

ControlLook at(double x, double y, double w, double h) {
  ControlLook look;
  look.shown = true;
  look.bounds = {x, y, w, h};
  return look;
}

long long covered(const std::vector<PixelBox>& boxes, const PixelBox& b) {
  long long area = 0;
  for (const PixelBox& r : boxes) area += r.intersected(b).area();
  return area;
}

TEST(RepaintRects, WhereItWasAndWhereItIs) {
  const PixelBox face{0, 0, 400, 400};
  const struct {
    const char* what;
    std::vector<std::pair<ControlLook, ControlLook>> changes;
    std::vector<PixelBox> expected;
  } cases[] = {
      {"nothing changed", {{at(10, 10, 5, 5), at(10, 10, 5, 5)}}, {}},
      {"both hidden", {{ControlLook{}, ControlLook{}}}, {}},
      {"shown", {{ControlLook{}, at(10.5, 10.5, 5, 5)}}, {{10, 10, 6, 6}}},
      {"hidden", {{at(10, 10, 5, 5), ControlLook{}}}, {{10, 10, 5, 5}}},
      {"moved a little: one box", {{at(10, 10, 10, 10), at(15, 15, 10, 10)}}, {{10, 10, 15, 15}}},
      {"moved far: two boxes", {{at(10, 10, 10, 10), at(200, 200, 10, 10)}}, {{10, 10, 10, 10}, {200, 200, 10, 10}}},
      {"cut to the face", {{ControlLook{}, at(-10, 390, 30, 30)}}, {{0, 390, 20, 10}}},
      {"off the face", {{ControlLook{}, at(500, 500, 30, 30)}}, {}},
      {"overlapping changes joined",
       {{ControlLook{}, at(100, 100, 50, 50)}, {ControlLook{}, at(120, 120, 50, 50)}},
       {{100, 100, 70, 70}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RepaintRects rects(face);
    for (const auto& [was, now] : c.changes) rects.changed(was, now);
    EXPECT_EQ(rects.joined(), c.expected);
  }
}

TEST(RepaintRects, ManyChangesStayFewAndCoverEverything) {
  const PixelBox face{0, 0, 1000, 1000};
  for (int n : {2, 3, 4, 6, 12, 13, 60}) {
    SCOPED_TRACE(n);
    RepaintRects rects(face);
    std::vector<PixelBox> wanted;
    for (int i = 0; i < n; ++i) {
      // Dots around a circle, as a highlight recolours them.
      const int x = 500 + static_cast<int>(400 * std::sin(i * 6.283 / n)),
                y = 500 - static_cast<int>(400 * std::cos(i * 6.283 / n));
      rects.changed(ControlLook{}, at(x, y, 8, 8));
      wanted.push_back({x, y, 8, 8});
    }
    const std::vector<PixelBox> got = rects.joined();
    EXPECT_LE(bandedRectCount(got), kMostRepaintRects);
    for (const PixelBox& w : wanted) EXPECT_EQ(covered(got, w), w.area()) << w.x << "," << w.y;
    for (std::size_t i = 0; i < got.size(); ++i)
      for (std::size_t j = i + 1; j < got.size(); ++j) EXPECT_FALSE(got[i].intersects(got[j]));
  }
}

TEST(RepaintRects, BandedCountAsARegionCutsIt) {
  const struct {
    const char* what;
    std::vector<PixelBox> boxes;
    int count;
  } cases[] = {
      {"none", {}, 0},
      {"one", {{0, 0, 10, 10}}, 1},
      {"side by side in one band", {{0, 0, 10, 10}, {20, 0, 10, 10}}, 2},
      {"touching: one", {{0, 0, 10, 10}, {10, 0, 10, 10}}, 1},
      {"one above the other, same columns", {{0, 0, 10, 10}, {0, 10, 10, 10}}, 1},
      {"one above the other apart", {{0, 0, 10, 10}, {0, 20, 10, 10}}, 2},
      // Offset: a band with the first alone, one with both, one with the second.
      {"offset side by side", {{0, 0, 10, 10}, {20, 5, 10, 10}}, 4},
      {"empty ones add nothing", {{0, 0, 0, 10}, {5, 5, 10, 0}}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(bandedRectCount(c.boxes), c.count) << c.what;
}

}  // namespace
}  // namespace tirpo
