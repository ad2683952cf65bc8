// The AUTO run left going for a very long time: a million ticks forward, a
// million back and two hours on past 12 o'clock into negative counts. The minute count, the hour label, the highlights
// and the time shown must follow the count all the way, and the hands must point where the count says up to the
// rounding of their angle to float.
//
// The clock never reduces an angle modulo 360 before it rounds the radians
// to float, so the hands lose precision as the count grows. The run reports
// where that first shows: the tick at which a hand's angle is more than a
// hundredth of a degree off the angle worked in double, and the tick at
// which its end point is more than a pixel off on a dial 2160 pixels high.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "support/loaded_form.h"

namespace tirpo {
namespace {

using namespace rules;

// TIRPO_LONG_RUN_TICKS shortens the run for a quick look.
const long kTicks = [] {
  const char* v = std::getenv("TIRPO_LONG_RUN_TICKS");
  const long n = v ? std::strtol(v, nullptr, 10) : 0;
  return n > 0 ? n : 1000000L;
}();
constexpr long kCheckEvery = 1000;
const long kBlock = std::max(1L, kTicks / 10);  // ticks per timed block
// A window 2160 pixels square at 15 twips per pixel, without a frame.
constexpr double kTwipsPerPixel = 15;
constexpr double kWindowTwips = 2160 * kTwipsPerPixel;

// How far one hand strays from the angle of the count, and the first ticks
// at which that shows.
struct Drift {
  const char* hand;
  double degreesPerMinute;
  double factor;
  long firstOverHundredth = -1;        // angle > 0.01 degree off the double angle
  long firstOverPixel = -1;            // end point > 1 pixel off the double end point
  long firstOverHundredthTruePi = -1;  // angle > 0.01 degree off the angle with the true pi
  double worstDegrees = 0, worstPixels = 0, worstDegreesTruePi = 0;
};

class LongRun : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Form_Load();
    f.setHeight(static_cast<float>(kWindowTwips));
    f.setWidth(static_cast<float>(kWindowTwips));
    // Pixels per face unit: the client area is 2.2 x dialScale units high.
    pixelsPerUnit = f.clientHeight() / kTwipsPerPixel / (2.2 * f.state.dialScale);
    f.Command12_Click();
    paintOrderSize = f.paintOrder().size();
  }

  // Everything the face shows for a minute count, checked in full.
  std::string faceFor(long long n) const {
    std::ostringstream out;
    const long long hours = floorDiv(n, 60);
    const long long r = hours % 12;
    const long long hourLabel = hours < 0 ? r + 12 : r;
    if (f.Label1.caption() != std::to_string(n)) out << "Label1 \"" << f.Label1.caption() << "\" ";
    if (f.Label2.caption() != std::to_string(hourLabel))
      out << "Label2 \"" << f.Label2.caption() << "\", expected " << hourLabel << ' ';
    out << litFaceMismatch(f, {n, kGreen, hourLabel});
    const auto shown = f.timeShown();
    const HourMinute expected = shownFor(n);
    if (!shown || shown->hour != expected.hour || shown->minute != expected.minute)
      out << "time shown " << (shown ? std::to_string(shown->hour) + ":" + std::to_string(shown->minute) : "none")
          << ' ';
    if (!f.Timer4.enabled() || f.Timer4.interval() != 100 || f.Timer1.enabled()) out << "timers ";
    if (f.paintOrder().size() != paintOrderSize) out << "controls loaded again ";
    // The second hand stays at 12 through the whole run.
    if (std::fabs(f.Byou.x2()) > 1e-6 || std::fabs(f.Byou.y2() - f.state.radius()) > 1e-5) out << "second hand moved ";
    for (const Line* h : {&f.Byou, &f.Hun, &f.Ji})
      if (std::fabs(h->x1()) > 1e-6 || std::fabs(h->y1()) > 1e-6) out << h->name() << " off the centre ";
    return out.str();
  }

  // Measures one hand against the count; "" when it points where the count
  // says up to the float rounding of its angle in radians.
  std::string measure(Drift& d, const Line& hand, long long n) {
    const double deg = d.degreesPerMinute * static_cast<double>(n);
    const double rad = clockRadians(deg);
    const double length = f.state.radius() * d.factor;
    const double off = std::fabs(wrapPi(handAngle(hand) - rad));
    const double offDeg = off * 180 / kPi;
    const double offTruePiDeg = std::fabs(wrapPi(handAngle(hand) - deg / 180 * kPi)) * 180 / kPi;
    const double pixels =
        std::hypot(hand.x2() - std::sin(rad) * length, hand.y2() - std::cos(rad) * length) * pixelsPerUnit;
    const long tick = static_cast<long>(n);
    if (offDeg > 0.01 && d.firstOverHundredth < 0) d.firstOverHundredth = tick;
    if (pixels > 1 && d.firstOverPixel < 0) d.firstOverPixel = tick;
    if (offTruePiDeg > 0.01 && d.firstOverHundredthTruePi < 0) d.firstOverHundredthTruePi = tick;
    d.worstDegrees = std::max(d.worstDegrees, offDeg);
    d.worstPixels = std::max(d.worstPixels, pixels);
    d.worstDegreesTruePi = std::max(d.worstDegreesTruePi, offTruePiDeg);
    // One rounding of the radians to float is all the error there may be
    // (the end points add a few parts in 10^8 of the length).
    if (off > halfFloatStep(rad) + 1e-6)
      return std::string(d.hand) + " at count " + std::to_string(n) + " is " + std::to_string(offDeg) +
             " degrees off, more than one float rounding of " + std::to_string(rad) + " rad";
    if (std::fabs(handLength(hand) - length) > 1e-5 * length)
      return std::string(d.hand) + " has length " + std::to_string(handLength(hand));
    return {};
  }

  fakes::FakeMeasurer measurer;
  fakes::FakeClock clock;
  Form88 f{measurer, clock};
  double pixelsPerUnit = 0;
  std::size_t paintOrderSize = 0;
};

TEST_F(LongRun, AMillionTicksForwardAndAMillionBack) {
  ASSERT_EQ(f.Combo1.text(), kAutoItem);
  ASSERT_EQ(f.caption(), kAutoTitleText);
  f.Form_MouseDown(kLeftButton, 0, 0, 0);
  ASSERT_TRUE(f.Timer4.enabled());
  ASSERT_EQ(f.state.runForward, True);

  Drift minute{"minute hand", 6, kMinuteHand}, hour{"hour hand", 0.5, kHourHand};
  std::vector<double> blockSeconds;
  auto blockStart = std::chrono::steady_clock::now();
  const auto started = blockStart;
  const auto endBlock = [&] {
    const auto now = std::chrono::steady_clock::now();
    blockSeconds.push_back(std::chrono::duration<double>(now - blockStart).count());
    blockStart = now;
  };

  long long n = 0;
  for (long t = 1; t <= kTicks; ++t) {
    f.Timer4_Timer();
    ++n;
    if (const std::string e = measure(minute, f.Hun, n); !e.empty()) FAIL() << e;
    if (const std::string e = measure(hour, f.Ji, n); !e.empty()) FAIL() << e;
    if (t % kCheckEvery == 0)
      if (const std::string e = faceFor(n); !e.empty()) FAIL() << "forward, tick " << t << ": " << e;
    if (t % kBlock == 0) endBlock();
  }
  ASSERT_EQ(f.Label1.caption(), std::to_string(kTicks));

  // A right press stops the forward run and turns it round; the next one
  // starts it backward. Neither moves the time.
  f.Form_MouseDown(kRightButton, 0, 0, 0);
  ASSERT_FALSE(f.Timer4.enabled());
  ASSERT_EQ(f.state.runBackward, True);
  ASSERT_EQ(f.Label2.caption(), std::to_string(kTicks / 60 % 12));  // whole hours, reduced as a press does
  f.Form_MouseDown(kRightButton, 0, 0, 0);
  ASSERT_TRUE(f.Timer4.enabled());
  ASSERT_EQ(f.Label1.caption(), std::to_string(kTicks));

  // Back down, and on past 12 o'clock for two turns of the hour hand.
  constexpr long kPastTwelve = 1440;
  Drift back[] = {{"minute hand", 6, kMinuteHand}, {"hour hand", 0.5, kHourHand}};
  for (long t = 1; t <= kTicks + kPastTwelve; ++t) {
    f.Timer4_Timer();
    --n;
    if (const std::string e = measure(back[0], f.Hun, n); !e.empty()) FAIL() << e;
    if (const std::string e = measure(back[1], f.Ji, n); !e.empty()) FAIL() << e;
    if (t % kCheckEvery == 0 || n == 0 || n == -1)
      if (const std::string e = faceFor(n); !e.empty()) FAIL() << "backward, count " << n << ": " << e;
    if (t % kBlock == 0) endBlock();
  }
  const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  // Two turns before 12 o'clock: the hour label of a run reads 12, not 0.
  ASSERT_EQ(faceFor(-kPastTwelve), "");
  EXPECT_EQ(f.Label1.caption(), "-1440");
  EXPECT_EQ(f.Label2.caption(), "12");
  expectManualHands(f, -8640, -720);
  EXPECT_LE(back[0].worstDegrees, minute.worstDegrees);

  // Where precision first shows, on the way up.
  for (const Drift* d : {&minute, &hour}) {
    std::cout << "[ long run ] " << d->hand << ": worst " << d->worstDegrees << " deg / " << d->worstPixels << " px ("
              << d->worstDegreesTruePi << " deg against the true pi); first > 0.01 deg at count "
              << d->firstOverHundredth << ", first > 1 px at count " << d->firstOverPixel
              << ", first > 0.01 deg against the true pi at count " << d->firstOverHundredthTruePi << '\n';
    const std::string key = d == &minute ? "minute" : "hour";
    RecordProperty(key + "_first_over_0.01deg", std::to_string(d->firstOverHundredth));
    RecordProperty(key + "_first_over_1px", std::to_string(d->firstOverPixel));
    RecordProperty(key + "_worst_deg", std::to_string(d->worstDegrees));
    RecordProperty(key + "_worst_px", std::to_string(d->worstPixels));
  }
  // No error shows before the radians of the angle reach 4096, where a
  // float step first exceeds 0.02 degree; nor a pixel before they reach
  // 32768. Earlier drift would mean more than one rounding.
  const auto countAtRadians = [](const Drift& d, double rad) { return rad / clockRadians(d.degreesPerMinute); };
  for (const Drift* d : {&minute, &hour}) {
    SCOPED_TRACE(d->hand);
    if (d->firstOverHundredth >= 0) {
      EXPECT_GE(d->firstOverHundredth, countAtRadians(*d, 4096));
    }
    if (d->firstOverPixel >= 0) {
      EXPECT_GE(d->firstOverPixel, countAtRadians(*d, 32768));
    }
  }
  // A million ticks take the minute hand's angle past 100,000 radians,
  // where a float step is 0.45 degree: the drift must have shown.
  if (kTicks >= 400000) {
    EXPECT_GT(minute.firstOverHundredth, 0);
    EXPECT_GT(minute.firstOverPixel, 0);
  }

  // No stall: every block of ticks takes about as long as the quickest one.
  ASSERT_GE(blockSeconds.size(), 2u);
  const auto [quickest, slowest] = std::minmax_element(blockSeconds.begin(), blockSeconds.end());
  std::cout << "[ long run ] " << 2 * kTicks + kPastTwelve << " ticks in " << total << " s; blocks of " << kBlock
            << " ticks took " << *quickest << " .. " << *slowest << " s\n";
  RecordProperty("seconds", std::to_string(total));
  EXPECT_LE(*slowest, 10 * *quickest + 0.5);
}

}  // namespace
}  // namespace tirpo
