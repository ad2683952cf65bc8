// What a finger on the face presses: a tap is a left press as it lifts, a
// finger held in place a right press once the hold time is up, a sliding
// finger or a second finger nothing.

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "window/form88.h"
#include "window/touch_press.h"

namespace tirpo {
namespace {

constexpr std::int64_t kHold = TouchPress::kHoldMs;
constexpr std::int64_t kShow = TouchPress::kShowHoldAfterMs;
constexpr double kSlop = TouchPress::kSlopTwips;

enum class Op { Down, Move, Up, Cancel, Check };

struct Step {
  Op op;
  int id;
  double x, y;
  std::int64_t at;
  int button;               // the press expected, 0 for none
  std::int64_t askAgainMs;  // when to check again, 0 for never
};

struct Case {
  const char* name;
  std::vector<Step> steps;
  double pressX = 0, pressY = 0;  // where every press of the case is made
};

// The case by its name in test listings, not by its bytes.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

constexpr int L = kLeftButton, R = kRightButton;

const Case kCases[] = {
    {"tap", {{Op::Down, 1, 300, 400, 0, 0, kShow}, {Op::Up, 1, 300, 400, 120, L, 0}}, 300, 400},
    {"tap lifted just before the hold time",
     {{Op::Down, 1, 0, 0, 0, 0, kShow}, {Op::Check, 0, 0, 0, kHold - 1, 0, 1}, {Op::Up, 1, 0, 0, kHold - 1, L, 0}}},
    {"tap that wobbles within the slop, pressed where it came down",
     {{Op::Down, 1, 1000, 1000, 0, 0, kShow},
      {Op::Move, 1, 1000 + kSlop * 0.7, 1000 + kSlop * 0.7, 50, 0, kShow - 50},
      {Op::Up, 1, 1000 + kSlop * 0.7, 1000 - kSlop * 0.7, 90, L, 0}},
     1000,
     1000},
    {"hold: a right press while the finger is down, nothing at the lift",
     {{Op::Down, 1, 500, 600, 0, 0, kShow},
      {Op::Check, 0, 0, 0, kShow, 0, kHold - kShow},
      {Op::Move, 1, 500 + kSlop, 600, kHold - 100, 0, 100},
      {Op::Check, 0, 0, 0, kHold, R, 0},
      {Op::Check, 0, 0, 0, kHold + 500, 0, 0},
      {Op::Move, 1, 5000, 600, kHold + 600, 0, 0},
      {Op::Up, 1, 5000, 600, kHold + 700, 0, 0}},
     500,
     600},
    {"hold whose check comes late is pressed by the lift",
     {{Op::Down, 1, 0, 0, 0, 0, kShow}, {Op::Up, 1, 0, 0, kHold + 150, R, 0}}},
    {"hold whose check comes late is pressed by the next move",
     {{Op::Down, 1, 0, 0, 0, 0, kShow}, {Op::Move, 1, 3 * kSlop, 0, kHold + 10, R, 0}, {Op::Up, 1, 0, 0, 900, 0, 0}}},
    {"a finger that slides presses nothing",
     {{Op::Down, 1, 0, 0, 0, 0, kShow},
      {Op::Move, 1, kSlop + 1, 0, 60, 0, 0},
      {Op::Move, 1, 0, 0, 120, 0, 0},  // back where it came down: still nothing
      {Op::Check, 0, 0, 0, kHold + 100, 0, 0},
      {Op::Up, 1, 0, 0, kHold + 200, 0, 0}}},
    {"a finger that slides and lifts before its move is told presses nothing",
     {{Op::Down, 1, 0, 0, 0, 0, kShow}, {Op::Up, 1, 0, kSlop * 2, 80, 0, 0}}},
    {"a second finger presses nothing",
     {{Op::Down, 1, 0, 0, 0, 0, kShow},
      {Op::Down, 2, 2000, 0, 50, 0, 0},
      {Op::Check, 0, 0, 0, kHold + 100, 0, 0},
      {Op::Up, 2, 2000, 0, kHold + 150, 0, 0},
      {Op::Check, 0, 0, 0, kHold + 200, 0, 0},
      {Op::Up, 1, 0, 0, kHold + 250, 0, 0}}},
    {"two fingers lifted quickly, the first lifted first, press nothing",
     {{Op::Down, 1, 0, 0, 0, 0, kShow},
      {Op::Down, 2, 900, 0, 20, 0, 0},
      {Op::Up, 1, 0, 0, 60, 0, 0},
      {Op::Up, 2, 900, 0, 80, 0, 0}}},
    {"a second finger after the hold presses nothing more",
     {{Op::Down, 1, 0, 0, 0, 0, kShow},
      {Op::Check, 0, 0, 0, kHold, R, 0},
      {Op::Down, 2, 900, 0, kHold + 50, 0, 0},
      {Op::Up, 2, 900, 0, kHold + 80, 0, 0},
      {Op::Up, 1, 0, 0, kHold + 90, 0, 0}}},
    {"once every finger has lifted the next tap counts",
     {{Op::Down, 1, 0, 0, 0, 0, kShow},
      {Op::Down, 2, 900, 0, 20, 0, 0},
      {Op::Up, 2, 900, 0, 60, 0, 0},
      {Op::Up, 1, 0, 0, 80, 0, 0},
      {Op::Down, 3, 0, 0, 100, 0, kShow},
      {Op::Up, 3, 0, 0, 150, L, 0}}},
    {"fast taps each count, none waits for the next",
     {{Op::Down, 1, 0, 0, 0, 0, kShow},
      {Op::Up, 1, 0, 0, 40, L, 0},
      {Op::Down, 2, 0, 0, 60, 0, kShow},
      {Op::Up, 2, 0, 0, 100, L, 0},
      {Op::Down, 3, 0, 0, 110, 0, kShow},
      {Op::Up, 3, 0, 0, 130, L, 0}}},
    {"a touch the system cancels presses nothing, and the next tap counts",
     {{Op::Down, 1, 0, 0, 0, 0, kShow},
      {Op::Cancel, 0, 0, 0, 100, 0, 0},
      {Op::Check, 0, 0, 0, kHold + 50, 0, 0},
      {Op::Up, 1, 0, 0, kHold + 60, 0, 0},
      {Op::Down, 1, 0, 0, 1000, 0, kShow},
      {Op::Up, 1, 0, 0, 1050, L, 0}}},
    {"a lift with no finger down presses nothing",
     {{Op::Up, 4, 0, 0, 0, 0, 0}, {Op::Down, 5, 0, 0, 10, 0, kShow}, {Op::Up, 5, 0, 0, 20, L, 0}}},
};

class TouchPressCases : public testing::TestWithParam<Case> {};

TEST_P(TouchPressCases, PressesAsTheFingersDo) {
  const Case& c = GetParam();
  TouchPress touch;
  for (std::size_t i = 0; i < c.steps.size(); ++i) {
    const Step& s = c.steps[i];
    SCOPED_TRACE(testing::Message() << "step " << i << " at " << s.at << " ms");
    TouchPress::Verdict v;
    switch (s.op) {
      case Op::Down:
        v = touch.down(s.id, s.x, s.y, s.at);
        break;
      case Op::Move:
        v = touch.move(s.id, s.x, s.y, s.at);
        break;
      case Op::Up:
        v = touch.up(s.id, s.x, s.y, s.at);
        break;
      case Op::Cancel:
        v = touch.cancel();
        break;
      case Op::Check:
        v = touch.check(s.at);
        break;
    }
    EXPECT_EQ(v.button, s.button);
    EXPECT_EQ(v.askAgainMs, s.askAgainMs);
    if (v.button != 0) {
      EXPECT_EQ(v.xTwips, c.pressX);
      EXPECT_EQ(v.yTwips, c.pressY);
    }
  }
  EXPECT_EQ(touch.fingers(), 0);
}

INSTANTIATE_TEST_SUITE_P(Touch, TouchPressCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           return name;
                         });

// The hold shows from a moment after the finger came down, fills up to the
// press and is gone once it is made or the finger lifts or slides.
TEST(TouchPress, HoldShowsHowFarItHasCome) {
  EXPECT_EQ(kHold, 500);  // half a second: the design's number, pinned here once
  TouchPress touch;
  EXPECT_LT(touch.holdShown(0), 0);
  touch.down(1, 700, 800, 1000);
  EXPECT_EQ(touch.xTwips(), 700);
  EXPECT_EQ(touch.yTwips(), 800);
  const struct {
    std::int64_t after;
    double shown;
  } readings[] = {{0, -1}, {kShow - 1, -1}, {kShow, 0}, {(kShow + kHold) / 2, 0.5}, {kHold, 1}, {kHold + 300, 1}};
  for (const auto& r : readings) {
    SCOPED_TRACE(r.after);
    const double shown = touch.holdShown(1000 + r.after);
    if (r.shown < 0)
      EXPECT_LT(shown, 0);
    else
      EXPECT_DOUBLE_EQ(shown, r.shown);
  }
  touch.check(1000 + kHold);
  EXPECT_LT(touch.holdShown(1000 + kHold), 0);
  touch.up(1, 700, 800, 2000);

  touch.down(1, 0, 0, 3000);
  touch.move(1, 2 * kSlop, 0, 3000 + kShow + 10);
  EXPECT_LT(touch.holdShown(3000 + kShow + 20), 0);
  touch.up(1, 0, 0, 3300);
  touch.down(1, 0, 0, 4000);
  touch.up(1, 0, 0, 4000 + kShow + 10);
  EXPECT_LT(touch.holdShown(4000 + kShow + 20), 0);
}

}  // namespace
}  // namespace tirpo
