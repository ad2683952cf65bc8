#include "view/repaint_rects.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tirpo {

namespace {

// Up to this many rectangles are joined pair by pair; beyond it (a mode, a
// layout) their bounds are repainted.
constexpr std::size_t kJoinedOneByOne = 12;

}  // namespace

void RepaintRects::changed(const ControlLook& was, const ControlLook& now) {
  if (was == now) return;
  const PixelBox before = was.bounds.aligned().intersected(face_), after = now.bounds.aligned().intersected(face_);
  // As one rectangle when they overlap (a hand turning about the centre).
  if (before.intersects(after)) {
    rects_.push_back(before.united(after));
  } else {
    if (!before.empty()) rects_.push_back(before);
    if (!after.empty()) rects_.push_back(after);
  }
}

std::vector<PixelBox> RepaintRects::joined() const {
  std::vector<PixelBox> rects = rects_;
  if (rects.empty()) return rects;
  // Overlapping rectangles are joined: their union would be cut into bands
  // anyway. The hands all meet at the centre, so a tick repaints them in one.
  for (bool joinedAny = true; joinedAny;) {
    joinedAny = false;
    for (std::size_t i = 0; i < rects.size() && !joinedAny; ++i)
      for (std::size_t j = i + 1; j < rects.size() && !joinedAny; ++j)
        if (rects[i].intersects(rects[j])) {
          rects[i] = rects[i].united(rects[j]);
          rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
          joinedAny = true;
        }
  }
  if (rects.size() > kJoinedOneByOne) {
    PixelBox all;
    for (const PixelBox& r : rects) all = all.united(r);
    return {all};
  }
  // The pair whose joint bounds add the least area is joined until few are
  // left.
  while (rects.size() > 1 && bandedRectCount(rects) > kMostRepaintRects) {
    std::size_t bestI = 0, bestJ = 1;
    long long bestGrowth = std::numeric_limits<long long>::max();
    for (std::size_t i = 0; i < rects.size(); ++i)
      for (std::size_t j = i + 1; j < rects.size(); ++j) {
        const long long growth = rects[i].united(rects[j]).area() - rects[i].area() - rects[j].area();
        if (growth < bestGrowth) bestGrowth = growth, bestI = i, bestJ = j;
      }
    rects[bestI] = rects[bestI].united(rects[bestJ]);
    rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(bestJ));
    // A joined box may now overlap a third one.
    for (std::size_t k = 0; k < rects.size(); ++k)
      if (k != bestI && rects[k].intersects(rects[bestI])) {
        rects[bestI] = rects[bestI].united(rects[k]);
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(k));
        if (k < bestI) --bestI;
        k = static_cast<std::size_t>(-1);
      }
  }
  return rects;
}

int bandedRectCount(const std::vector<PixelBox>& boxes) {
  std::vector<int> edges;
  for (const PixelBox& b : boxes)
    if (!b.empty()) edges.push_back(b.y), edges.push_back(b.bottom());
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  int count = 0;
  std::vector<std::pair<int, int>> previous;
  for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
    const int top = edges[e], bottom = edges[e + 1];
    std::vector<std::pair<int, int>> columns;
    for (const PixelBox& b : boxes)
      if (!b.empty() && b.y <= top && b.bottom() >= bottom) columns.emplace_back(b.x, b.right());
    std::sort(columns.begin(), columns.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& c : columns) {
      if (!merged.empty() && c.first <= merged.back().second)
        merged.back().second = std::max(merged.back().second, c.second);
      else
        merged.push_back(c);
    }
    // A band with the same columns as the one above it continues it.
    if (merged != previous || previous.empty()) count += static_cast<int>(merged.size());
    previous = std::move(merged);
  }
  return count;
}

}  // namespace tirpo
