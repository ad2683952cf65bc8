// Which minute numeral and which five hour dots light up for a caption.

#include <gtest/gtest.h>

#include "clock/highlight.h"

namespace tirpo {
namespace {

TEST(MinuteHighlight, CountTakenModuloSixtyWithTheTopAsSixty) {
  const struct {
    const char* caption;
    std::optional<int> numeral;
  } cases[] = {
      {"45", 45},
      {"", std::nullopt},
      {"0", 60},
      {"60", 60},
      {"61", 1},
      {"65", 5},
      {"-3", 57},
      {"-5", 55},
      {"-60", 60},
      {"2.5", 2},
      {"3.5", 4},
      {"40000", 40},
      {"-40000", 20},
      {"719", 59},
      {"abc", std::nullopt},
      {"12abc", std::nullopt},
      {" 7 ", 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(minuteNumeralFor(c.caption), c.numeral) << '"' << c.caption << '"';
  }
}

TEST(HourHighlight, FiveDotsFromTheHourMarkWithTheTopAsSixty) {
  using Dots = std::array<int, 5>;
  const Dots top{60, 1, 2, 3, 4};
  const struct {
    const char* caption;
    Dots dots;
  } cases[] = {
      {"3", {15, 16, 17, 18, 19}},
      {"15", {15, 16, 17, 18, 19}},
      {"11", {55, 56, 57, 58, 59}},
      {"-1", {55, 56, 57, 58, 59}},
      {"12", top},
      {"", top},
      {"0", top},
      {"-12", top},
      {"23", {55, 56, 57, 58, 59}},
      {"2.5", {10, 11, 12, 13, 14}},
      {"3.5", {20, 21, 22, 23, 24}},
      {"40000", {20, 21, 22, 23, 24}},
      {"-40000", {40, 41, 42, 43, 44}},
      {"7abc", {35, 36, 37, 38, 39}},
      {"abc", top},
  };
  for (const auto& c : cases) EXPECT_EQ(hourSectorDots(c.caption), c.dots) << '"' << c.caption << '"';
}

}  // namespace
}  // namespace tirpo
