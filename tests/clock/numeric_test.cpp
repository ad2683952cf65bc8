// Angle conversion, hand geometry, rounding, and reading and writing clock
// values as caption text.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "clock/geometry.h"
#include "clock/numeric.h"

namespace tirpo {
namespace {

TEST(DegToRad, UsesTheClocksConstantWorkedInDouble) {
  EXPECT_EQ(DegToRad(0), 0.0f);
  EXPECT_EQ(DegToRad(180), 3.14159265f);
  EXPECT_EQ(DegToRad(90), 1.57079633f);
  // At 79 degrees the full value of pi rounds to a different float
  // (1.37881017), and so does working the sum in float (1.37880993).
  EXPECT_EQ(DegToRad(79), 1.37881005f);
  // At 1 degree float arithmetic would give 0.0174532942.
  EXPECT_EQ(DegToRad(1), 0.0174532924f);
}

TEST(HandEnd, FollowsTheAngleClockwiseFromTwelve) {
  const double L = 0.81;
  const HandEnd up = handEnd(L, 0);
  EXPECT_EQ(up.x2, 0.0f);
  EXPECT_EQ(up.y2, static_cast<float>(L));
  const HandEnd right = handEnd(L, 90);
  EXPECT_FLOAT_EQ(right.x2, static_cast<float>(L));
  EXPECT_NEAR(right.y2, 0.0, 1e-7);
  const HandEnd down = handEnd(L, 180);
  EXPECT_NEAR(down.x2, 0.0, 1e-7);
  EXPECT_FLOAT_EQ(down.y2, static_cast<float>(-L));
  const HandEnd left = handEnd(L, -90);  // angles may be negative
  EXPECT_FLOAT_EQ(left.x2, static_cast<float>(-L));
  for (double a : {0.0, 7.5, 30.0, 90.0, 255.0}) {
    SCOPED_TRACE(a);
    const HandEnd once = handEnd(L, a), again = handEnd(L, 360 + a);
    EXPECT_NEAR(again.x2, once.x2, 1e-6);
    EXPECT_NEAR(again.y2, once.y2, 1e-6);
  }
  // Each coordinate is rounded to float: 0.6 x 0.9 at 12 o'clock.
  EXPECT_EQ(handEnd(0.9 * 0.6, 0).y2, static_cast<float>(0.9 * 0.6));
  EXPECT_EQ(handEnd(0, 123).x2, 0.0f);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const struct {
    double in, out;
  } cases[] = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4, 2}, {2.6, 3}, {-2.6, -3}, {7, 7},
  };
  for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

TEST(Rounding, IntoSixteenAndThirtyTwoBitsWithRangeLimits) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double in;
    std::optional<int> out;
  } sixteen[] = {
      {32767, 32767},   {32767.4, 32767},   {32767.5, std::nullopt},  {32768, std::nullopt},
      {-32768, -32768}, {-32768.5, -32768}, {-32768.6, std::nullopt}, {-32769, std::nullopt},
      {2.5, 2},         {-3.5, -4},         {nan, std::nullopt},      {inf, std::nullopt},
  };
  for (const auto& c : sixteen) {
    EXPECT_EQ(toInt16(c.in), c.out) << c.in;
  }
  const struct {
    double in;
    std::optional<long long> out;
  } thirtyTwo[] = {
      {2147483647.0, 2147483647LL},
      {2147483647.5, std::nullopt},
      {2147483648.0, std::nullopt},
      {-2147483648.0, -2147483648LL},
      {-2147483648.5, -2147483648LL},
      {-2147483649.0, std::nullopt},
      {40000, 40000},
      {-inf, std::nullopt},
  };
  for (const auto& c : thirtyTwo) {
    EXPECT_EQ(toInt32(c.in), c.out) << c.in;
  }
}

TEST(CaptionReading, StrictTakesOnlyAWholeNumber) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"abc", std::nullopt},
      {"12abc", std::nullopt},
      {"-", std::nullopt},
      {".", std::nullopt},
      {"1e", std::nullopt},
      {"1e400", std::nullopt},
      {"--5", std::nullopt},
      {"-5", -5.0},
      {"2.5", 2.5},
      {"1e3", 1000.0},
      {"+3", 3.0},
      {".5", 0.5},
      {" 7 ", 7.0},
      {"15", 15.0},
      {"-0", 0.0},
      {"1E+05", 100000.0},
      // Fifteen digits read as they stand; more than a 64-bit count holds
      // are still the nearest double.
      {"999999999999999", 999999999999999.0},
      {"-12345678901234567890", -12345678901234567890.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(strictNumber(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(CaptionReading, LenientTakesTheLeadingNumberElseZero) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0}, {"12abc", 12}, {"  7", 7}, {"abc", 0}, {"-3.5x", -3.5}, {"+3", 3}, {"1e3x", 1000}, {"x12", 0}, {"-", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(lenientNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(CaptionWriting, ShortestPlainDecimalText) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {15, "15"},
      {0, "0"},
      {-5, "-5"},
      {-0.0, "0"},
      {2.5, "2.5"},
      {780, "780"},
      {-720, "-720"},
      {10000, "10000"},
      // Minute counts are unbounded: round values stay plain decimals.
      {100000, "100000"},
      {-100000, "-100000"},
      {1000000, "1000000"},
      {3000000, "3000000"},
      {999999999999999, "999999999999999"},
      {-999999999999999, "-999999999999999"},
  };
  for (const auto& c : cases) EXPECT_EQ(decimalText(c.value), c.text) << c.value;
}

TEST(CaptionWriting, FractionsAndHugeValuesShortestAndReadBackExactly) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},
      {-2.5e-7, "-0.00000025"},
      {1.0 / 3, "0.3333333333333333"},
      {123456789012345.6, "123456789012345.6"},
      {1e-60, "0.000000000000000000000000000000000000000000000000000000000001"},
      // From 1e15 on the exponent form.
      {1e15, "1e+15"},
      {1.5e15, "1.5e+15"},
      {-4059830810010669.0, "-4.059830810010669e+15"},
      {1e300, "1e+300"},
      // Too long in plain digits.
      {5e-324, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decimalText(c.value), c.text) << c.value;
    if (std::string(c.text) != "0") {
      EXPECT_EQ(strictNumber(c.text), c.value) << c.text;
    }
  }
}

}  // namespace
}  // namespace tirpo
