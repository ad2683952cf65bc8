// Stepping the manual clock's caption values, and the step table with its
// help titles.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock/step_table.h"
#include "clock/stepping.h"
#include "support/clock_rules.h"

namespace tirpo {
namespace {

using Text = std::optional<std::string>;

void expectText(const Text& got, const Text& want, const std::string& input) {
  EXPECT_EQ(got, want) << '"' << input << '"';
}

TEST(Stepping, AddsToTheCaptionWithEmptyAsZero) {
  const struct {
    const char* caption;
    double delta;
    Text out;
  } cases[] = {
      {"", 1, "1"},      {"", -1, "-1"}, {"15", -20, "-5"},        {"0", -5, "-5"},
      {"719", 1, "720"}, {"-1", 1, "0"}, {"abc", 1, std::nullopt}, {"2x", 1, std::nullopt},
  };
  for (const auto& c : cases) expectText(stepped(c.caption, c.delta), c.out, c.caption);
}

TEST(Stepping, WholeHoursAreTheFloorOfMinutesOverSixty) {
  const struct {
    const char* minutes;
    Text hours;
  } cases[] = {
      {"-5", "-1"},  {"780", "13"}, {"0", "0"},      {"59", "0"},        {"60", "1"},
      {"-60", "-1"}, {"-61", "-2"}, {"-720", "-12"}, {"", std::nullopt}, {"x", std::nullopt},
  };
  for (const auto& c : cases) expectText(wholeHoursText(c.minutes), c.hours, c.minutes);
}

TEST(Stepping, AfterAPressTheHourKeepsTheSignOfItsRemainder) {
  const struct {
    const char* hour;
    Text out;
  } cases[] = {
      {"13", "1"},
      {"-1", "-1"},
      {"-13", "-1"},
      {"12", "0"},
      {"-12", "0"},
      {"0", "0"},
      {"2.5", "2"},
      {"3.5", "4"},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"3000000000", std::nullopt},  // beyond a 32-bit whole number
  };
  for (const auto& c : cases) expectText(pressHourText(c.hour), c.out, c.hour);
}

TEST(Stepping, AfterATickANegativeHourIsBroughtRoundByTwelve) {
  const struct {
    const char* hour;
    Text out;
  } cases[] = {
      {"-1", "11"}, {"-12", "12"}, {"-13", "11"}, {"13", "1"},
      {"0", "0"},   {"12", "0"},   {"-24", "12"}, {"", std::nullopt},
  };
  for (const auto& c : cases) expectText(tickHourText(c.hour), c.out, c.hour);
}

TEST(StepTable, PositionsZeroToFiveOnly) {
  for (std::size_t i = 0; i < rules::kStepCount; ++i) {
    const rules::StepRow& s = rules::kStepRows[i];
    const auto step = stepAt(static_cast<float>(i));
    ASSERT_TRUE(step) << i;
    EXPECT_EQ(step->item, s.item) << i;
    EXPECT_EQ(step->intervalMs, s.intervalMs) << i;
    EXPECT_EQ(step->minutes, s.minutes) << i;
  }
  for (float none : {6.0f, -1.0f, 0.5f, 4.999f}) EXPECT_FALSE(stepAt(none)) << none;
}

TEST(StepTable, HelpTitlesMatchTheTextExactly) {
  struct Case {
    std::string text;
    std::optional<std::string> title;
  };
  std::vector<Case> cases;
  for (const rules::StepRow& s : rules::kStepRows) cases.push_back({s.item, rules::stepTitle(s)});
  for (const char* other : {"AUTO", "auto", " 5", "05", "", "５"}) cases.push_back({other, std::nullopt});
  for (const auto& c : cases) {
    EXPECT_EQ(helpTitleFor(c.text), c.title) << c.text;
  }
  EXPECT_EQ(kAutoTitle, rules::kAutoTitleText);
  EXPECT_EQ(kClockTitle, rules::kClockTitleText);
}

}  // namespace
}  // namespace tirpo
