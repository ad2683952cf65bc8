// The wall clock a page reads: as precise as its steady clock, and back on
// the computer's clock at the first reading after that clock was set, the
// device slept or the two clocks drifted apart.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "web/anchored_clock.h"

namespace tirpo::web {
namespace {

// The two clocks of a page: the computer's clock (what Date.now() shows in
// whole milliseconds) and the steady clock, which keeps running from where
// it was whatever the computer's clock does, and stands still in sleep.
struct PageClocks {
  double wall = 1700000000000.0 + 123.4567;  // the truth
  double steady = 5000.25;

  double date() const { return std::floor(wall); }
  void pass(double ms) {
    wall += ms;
    steady += ms;
  }
};

// Reads the clock and checks it against the truth: inside Date.now()'s
// millisecond (so the second it shows is the computer's), and within a
// millisecond of the truth.
double readAndCheck(AnchoredClock& clock, const PageClocks& page, const std::string& when) {
  const double got = clock.read(page.steady, page.date());
  EXPECT_EQ(std::floor(got), page.date()) << when << ": " << std::fixed << got << " outside Date.now()'s millisecond";
  EXPECT_LT(std::abs(got - page.wall), 1.0) << when << ": " << std::fixed << got << " for " << page.wall;
  return got;
}

// Reads the clock every quarter millisecond for `readings` readings and
// returns how far, all told, the steps between readings strayed from a
// quarter millisecond. A clock as fine as the steady one strays only while
// it finds where in Date.now()'s first millisecond the truth lies: less
// than that millisecond all told. One that went by Date.now() alone would
// stray by a quarter millisecond or more at every step.
double strayOverRun(AnchoredClock& clock, PageClocks& page, int readings, const std::string& when) {
  double last = readAndCheck(clock, page, when + ", first reading");
  double stray = 0;
  for (int i = 1; i <= readings; ++i) {
    page.pass(0.25);
    const double got = readAndCheck(clock, page, when + ", reading " + std::to_string(i));
    stray += std::abs(got - last - 0.25);
    last = got;
  }
  return stray;
}

TEST(AnchoredClock, AsPreciseAsTheSteadyClockWhileTheClocksAgree) {
  AnchoredClock clock;
  PageClocks page;
  EXPECT_LT(strayOverRun(clock, page, 40000, "ten seconds"), 1.0);
}

TEST(AnchoredClock, FollowsTheComputersClockAtTheNextReading) {
  const struct {
    const char* what;
    double setBy;    // the computer's clock set forward (+) or back (-), ms
    double sleptMs;  // the device asleep: the steady clock stood still
  } rows[] = {
      {"set forward an hour", 3600e3, 0},        {"set back an hour and a half", -5400e3, 0},
      {"set back by a second", -1000, 0},        {"set forward to the next day", 86400e3 - 12345.5, 0},
      {"corrected back by 0.4 ms", -0.4, 0},     {"corrected forward by 0.7 ms", 0.7, 0},
      {"asleep for eight hours", 0, 8 * 3600e3}, {"asleep for a second, then set back", -2000, 1000},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    AnchoredClock clock;
    PageClocks page;
    for (int i = 0; i < 20; ++i, page.pass(0.37)) readAndCheck(clock, page, "before");
    page.wall += r.setBy + r.sleptMs;
    // Right at the first reading after, and as precise as before from then on.
    EXPECT_LT(strayOverRun(clock, page, 4000, "after"), 1.0 + std::abs(r.setBy + r.sleptMs));
    EXPECT_LT(strayOverRun(clock, page, 4000, "a second later"), 1.0);
  }
}

// NTP slewing or a slow steady clock: the computer's clock runs faster or
// slower than the steady one; the readings stay within its millisecond.
TEST(AnchoredClock, StaysOnTheComputersClockAsTheClocksDrift) {
  for (const double rate : {1.0005, 0.9995, 1.01}) {
    SCOPED_TRACE(rate);
    AnchoredClock clock;
    PageClocks page;
    for (int i = 0; i < 60000; ++i) {  // a minute in milliseconds
      page.steady += 1;
      page.wall += rate;
      readAndCheck(clock, page, "reading " + std::to_string(i));
    }
  }
}

}  // namespace
}  // namespace tirpo::web
