// The live clock's reading of the time of day, right at the turn of a
// second: the moment its aligned tick fires.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/local_clock.h"

namespace tirpo {
namespace {

// A kernel whose coarse clock lags the precise one by one kernel tick (4 ms
// at 250 Hz), as the coarse clock does right after a second has begun.
timespec gPrecise{};
constexpr long kCoarseLagNs = 4'000'000;

timespec minusNs(timespec t, long ns) {
  t.tv_nsec -= ns;
  while (t.tv_nsec < 0) {
    t.tv_nsec += 1'000'000'000;
    --t.tv_sec;
  }
  return t;
}

int fakeKernel(clockid_t id, timespec* ts) {
  if (id == CLOCK_REALTIME)
    *ts = gPrecise;
  else if (id == CLOCK_REALTIME_COARSE)
    *ts = minusNs(gPrecise, kCoarseLagNs);
  else
    *ts = {0, 0};  // any other clock reads the epoch: plainly wrong
  return 0;
}

class LocalClockTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("TZ", "UTC", 1);
    tzset();
  }
};

TEST_F(LocalClockTest, ReadsThePreciseSecondJustAfterItBegins) {
  struct Case {
    std::time_t second;  // UTC seconds since the epoch at the turn
    long afterNs;        // how far into that second the tick reads
    TimeOfDay want;
  };
  const Case cases[] = {
      {43200, 2'000'000, {12, 0, 0}},          // where the aligned tick fires
      {43200 + 59, 0, {12, 0, 59}},            // the very first nanosecond
      {43200 + 60, 1'000'000, {12, 1, 0}},     // a new minute
      {86400 - 1, 3'999'999, {23, 59, 59}},    // the last second of the day
      {86400, 2'000'000, {0, 0, 0}},           // midnight
      {86400 + 3600, 500'000'000, {1, 0, 0}},  // mid-second: either clock agrees
  };
  const LocalClock clock(fakeKernel);
  for (const Case& c : cases) {
    gPrecise = {c.second, c.afterNs};
    const TimeOfDay got = clock.now();
    EXPECT_EQ(got.hour, c.want.hour) << "at " << c.second << " s + " << c.afterNs << " ns";
    EXPECT_EQ(got.minute, c.want.minute) << "at " << c.second << " s + " << c.afterNs << " ns";
    EXPECT_EQ(got.second, c.want.second) << "at " << c.second << " s + " << c.afterNs << " ns";
  }
}

// The real kernel: around a few turns of a second, compare every reading
// with the precise clock read just before and just after it. A reading
// bracketed inside one precise second must show that second; near the turn
// the coarse clock would still show the previous one. The test sleeps until
// just before each of three turns and reads only from then until 10 ms after
// it, so it keeps no core busy. Three, as the coarse clock now and then
// happens to move on right at a turn, and the thread may be away at one.
TEST_F(LocalClockTest, AgreesWithTheKernelsPreciseClockAcrossATurn) {
  const LocalClock clock;
  int nearTurn = 0, checked = 0;
  for (int turn = 0; turn < 3; ++turn) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const timespec wake = minusNs({now.tv_sec + 1, 0}, 2'000'000);
    clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &wake, nullptr);
    for (;;) {
      timespec before{}, after{};
      clock_gettime(CLOCK_REALTIME, &before);
      const TimeOfDay got = clock.now();
      clock_gettime(CLOCK_REALTIME, &after);
      if (before.tv_sec == after.tv_sec) {
        std::tm want{};
        localtime_r(&before.tv_sec, &want);
        ASSERT_EQ(got.second, want.tm_sec) << "read " << before.tv_nsec / 1000 << " us into second " << before.tv_sec;
        ++checked;
        if (before.tv_sec > now.tv_sec && before.tv_nsec < 10'000'000) ++nearTurn;
      }
      if (after.tv_sec > now.tv_sec + 1 || (after.tv_sec > now.tv_sec && after.tv_nsec >= 10'000'000)) break;
    }
  }
  EXPECT_GT(nearTurn, 0) << "no reading fell in the first 10 ms of a second (" << checked << " checked)";
}

}  // namespace
}  // namespace tirpo
