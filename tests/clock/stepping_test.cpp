// Stepping the manual clock's caption values, and the step table with its
// help titles.

#include <gtest/gtest.h>

#include "clock/step_table.h"
#include "clock/stepping.h"

namespace tirpo {
namespace {

using Text = std::optional<std::string>;

void expectText(const Text& got, const Text& want, const std::string& input) {
  ASSERT_EQ(got.has_value(), want.has_value()) << '"' << input << '"';
  if (got) {
    EXPECT_EQ(*got, *want) << '"' << input << '"';
  }
}

TEST(Stepping, AddsToTheCaptionWithEmptyAsZero) {
  const struct { const char* caption; double delta; Text out; } cases[] = {
      {"", 1, "1"},    {"", -1, "-1"},  {"15", -20, "-5"}, {"0", -5, "-5"},
      {"719", 1, "720"}, {"-1", 1, "0"}, {"abc", 1, std::nullopt}, {"2x", 1, std::nullopt},
  };
  for (const auto& c : cases) expectText(stepped(c.caption, c.delta), c.out, c.caption);
}

TEST(Stepping, WholeHoursAreTheFloorOfMinutesOverSixty) {
  const struct { const char* minutes; Text hours; } cases[] = {
      {"-5", "-1"}, {"780", "13"}, {"0", "0"}, {"59", "0"},  {"60", "1"},
      {"-60", "-1"}, {"-61", "-2"}, {"-720", "-12"}, {"", std::nullopt}, {"x", std::nullopt},
  };
  for (const auto& c : cases) expectText(wholeHoursText(c.minutes), c.hours, c.minutes);
}

TEST(Stepping, AfterAPressTheHourKeepsTheSignOfItsRemainder) {
  const struct { const char* hour; Text out; } cases[] = {
      {"13", "1"}, {"-1", "-1"}, {"-13", "-1"}, {"12", "0"}, {"-12", "0"}, {"0", "0"},
      {"2.5", "2"}, {"3.5", "4"}, {"", std::nullopt}, {"abc", std::nullopt},
      {"3000000000", std::nullopt},  // beyond a 32-bit whole number
  };
  for (const auto& c : cases) expectText(pressHourText(c.hour), c.out, c.hour);
}

TEST(Stepping, AfterATickANegativeHourIsBroughtRoundByTwelve) {
  const struct { const char* hour; Text out; } cases[] = {
      {"-1", "11"}, {"-12", "12"}, {"-13", "11"}, {"13", "1"}, {"0", "0"},
      {"12", "0"},  {"-24", "12"}, {"", std::nullopt},
  };
  for (const auto& c : cases) expectText(tickHourText(c.hour), c.out, c.hour);
}

TEST(StepTable, PositionsZeroToFiveOnly) {
  const struct { float index; int interval, minutes; } steps[] = {
      {0, 100, 1}, {1, 1000, 5}, {2, 1000, 10}, {3, 1000, 15}, {4, 1000, 30}, {5, 1000, 60},
  };
  for (const auto& s : steps) {
    const auto step = stepAt(s.index);
    ASSERT_TRUE(step) << s.index;
    EXPECT_EQ(step->intervalMs, s.interval) << s.index;
    EXPECT_EQ(step->minutes, s.minutes) << s.index;
  }
  for (float none : {6.0f, -1.0f, 0.5f, 4.999f}) EXPECT_FALSE(stepAt(none)) << none;
}

TEST(StepTable, HelpTitlesMatchTheTextExactly) {
  const std::string head = "tirpoアナログ手動時計【今何時】・・・左クッリクで";
  const struct { const char* text; std::optional<std::string> title; } cases[] = {
      {"1", head + "1分前進。右クッリクで1分後退。"},
      {"5", head + "5分前進。右クッリクで5分後退。"},
      {"10", head + "10分前進。右クッリクで10分後退。"},
      {"15", head + "15分前進。右クッリクで15分後退。"},
      {"30", head + "30分前進。右クッリクで30分後退。"},
      {"60", head + "1時間前進。右クッリクで1時間後退。"},
      {"AUTO", std::nullopt}, {"auto", std::nullopt}, {" 5", std::nullopt},
      {"05", std::nullopt},   {"", std::nullopt},     {"５", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto t = helpTitleFor(c.text);
    ASSERT_EQ(t.has_value(), c.title.has_value()) << c.text;
    if (t) {
      EXPECT_EQ(*t, *c.title) << c.text;
    }
  }
  EXPECT_EQ(kAutoTitle,
            head + "自動前進左クッリクで停止。右クッリクで自動後退右クリックで停止。");
  EXPECT_EQ(kClockTitle, "tirpoアナログ時計");
}

}  // namespace
}  // namespace tirpo
