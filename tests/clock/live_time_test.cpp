// The live clock's reading of the time of day.

#include <gtest/gtest.h>

#include "clock/live_time.h"

namespace tirpo {
namespace {

TEST(LiveReading, HandAnglesAndLabelsFromTheTimeOfDay) {
  const struct {
    TimeOfDay t;
    double second, minute, hour;  // degrees, not reduced modulo 360
  } cases[] = {
      {{0, 0, 0}, 0, 0, 0},
      {{3, 0, 0}, 64800, 1080, 90},
      {{12, 30, 0}, 270000, 4500, 375},
      {{23, 59, 59}, 518394, 8639.9, 719.99167},
      {{0, 0, 1}, 6, 0.1, 1.0 / 120},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.t.hour << ':' << c.t.minute << ':' << c.t.second);
    const LiveReading r = readLive(c.t);
    const double seconds = c.t.hour * 3600 + c.t.minute * 60 + c.t.second;
    EXPECT_NEAR(r.daySeconds, seconds, 1e-9);
    EXPECT_NEAR(r.minutePos, seconds / 60, 1e-3);
    EXPECT_NEAR(r.hourValue, seconds / 3600, 1e-5);
    EXPECT_NEAR(r.secondAngle, c.second, 0.05);
    EXPECT_NEAR(r.minuteAngle, c.minute, 1e-2);
    EXPECT_NEAR(r.hourAngle, c.hour, 1e-3);
    EXPECT_EQ(r.hour, c.t.hour);
    EXPECT_EQ(r.minute, c.t.minute);
  }
}

}  // namespace
}  // namespace tirpo
