// The live clock's one-second timer in step with the wall clock: where a
// reading lies in its second, how long to the next tick, a timeout that
// came early, and a long run of timeouts that come a little early or late.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>

#include "view/second_alignment.h"

namespace tirpo {

void PrintTo(const SecondTick& t, std::ostream* os) {
  *os << (t.fire ? "fire" : "wait") << ", next in " << t.delayMs << " ms";
}

namespace {

// A reading of today's magnitude: 2023-11-14 22:13:20 UTC, a whole second.
constexpr double kTurn = 1700000000000.0;

TEST(SecondAlignment, WhereAReadingLiesInItsSecond) {
  const struct {
    const char* what;
    double wallMs, into;
  } rows[] = {
      {"the epoch", 0, 0},
      {"a whole second", kTurn, 0},
      {"a quarter millisecond in", kTurn + 0.25, 0.25},
      {"where the tick fires", kTurn + kAfterSecondMs, kAfterSecondMs},
      {"the last millisecond", kTurn + 999.75, 999.75},
      // The last reading a double holds before the turn (a quarter of a
      // microsecond before it, at today's magnitude).
      {"the last reading before a turn", std::nextafter(kTurn + 1000, 0.0), 1000 - 0.000244140625},
      {"before the epoch", -1, 999},
      {"a whole second before the epoch", -1000, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(msIntoSecond(r.wallMs), r.into);
  }
}

TEST(SecondAlignment, EachTimeoutFiresOrWaitsForTheTurn) {
  const struct {
    const char* what;
    double into;
    SecondTick tick;
  } rows[] = {
      {"on time", kAfterSecondMs, {true, 1000}},
      {"at the very turn", 0, {true, 1000 + kAfterSecondMs}},
      {"late by half a second", 502, {true, 500}},
      {"late, just before the early ones", 1000 - kEarlyWithinMs - 0.5, {true, kEarlyWithinMs + 0.5 + kAfterSecondMs}},
      {"early by a hundred milliseconds", 1000 - kEarlyWithinMs, {false, kEarlyWithinMs + kAfterSecondMs}},
      {"early by a millisecond", 999, {false, 1 + kAfterSecondMs}},
      {"early by a quarter millisecond", 999.75, {false, 0.25 + kAfterSecondMs}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(secondTickAt(r.into), r.tick);
    EXPECT_EQ(delayToNextSecond(r.into), r.tick.delayMs);
  }
}

// A timer whose timeouts come up to `early` ms early and `late` ms late
// against the wall clock (the two clocks drift a little apart; a busy page
// runs a timeout late), driven by the rules above for ten thousand ticks:
// every tick reads the second after the one before, never the same one
// again, never one past.
void runTicks(double early, double late) {
  std::uint32_t seed = 12345;
  auto jitter = [&] {
    seed = seed * 1664525u + 1013904223u;
    return -early + (early + late) * static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
  };
  double now = kTurn + 123.456;  // started a little into a second
  double due = now + delayToNextSecond(msIntoSecond(now));
  std::int64_t last = -1;
  int fired = 0;
  for (int timeouts = 0; fired < 10000; ++timeouts) {
    ASSERT_LT(timeouts, 100000) << "the timer stopped ticking";
    now = due + jitter();
    const SecondTick tick = secondTickAt(msIntoSecond(now));
    ASSERT_GT(tick.delayMs, 0);
    due = now + tick.delayMs;
    if (!tick.fire) continue;
    const auto second = static_cast<std::int64_t>(std::floor(now / 1000));
    if (last >= 0) {
      ASSERT_EQ(second, last + 1) << "tick " << fired << " at " << msIntoSecond(now) << " ms";
    }
    last = second;
    ++fired;
  }
}

TEST(SecondAlignment, EverySecondOnceWhateverTheTimeoutsDo) {
  const struct {
    const char* what;
    double early, late;
  } rows[] = {
      {"on time", 0, 0},
      {"a millisecond either way", 1, 1},
      {"early by up to the margin", kAfterSecondMs, 0},
      {"early by up to 5 ms, past the margin", 5, 0},
      {"late by up to 400 ms", 0, 400},
      {"both", 3, 300},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    runTicks(r.early, r.late);
  }
}

}  // namespace
}  // namespace tirpo
