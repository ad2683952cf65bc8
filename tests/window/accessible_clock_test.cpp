// What assistive technology is told about the clock, in every mode: which
// mode is on, what the face reads and says to do, whether its step actions
// are offered, the range its value keeps to, and what a change of mode says.

#include "window/accessible_clock.h"
#include "support/clock_rules.h"
#include "support/loaded_form.h"

namespace tirpo {
namespace {

using rules::shownFor;

// One action as a word: a button caption, "pick:N" (a list position),
// "L"/"R" presses, "tick" of the live clock, "run" for a run tick.
void act(Form88& f, std::string_view a) {
  if (a == "時計") {
    f.Command8.click();
  } else if (a == "今何時") {
    f.Command12.click();
  } else if (a.starts_with("pick:")) {
    f.Combo1.pick(std::stoi(std::string(a.substr(5))));
  } else if (a == "L" || a == "R") {
    f.Form_MouseDown(a == "L" ? kLeftButton : kRightButton, 0, 0, 0);
  } else if (a == "tick") {
    f.Timer1_Timer();
  } else if (a == "run") {
    f.Timer4_Timer();
  } else {
    FAIL() << "unknown action " << a;
  }
}

using AccessibleClock = LoadedForm;

TEST(AccessibleClockModes, WhatEachModeTells) {
  const struct {
    const char* name;
    std::vector<const char*> actions;
    ClockMode mode;
    bool clockOn, manualOn;  // which mode button is the one on
    const char* valueText;
    std::optional<int> value;
    std::optional<int> rangeMin, rangeMax;
    bool stepsOffered;
    const char* describes;  // a part of the face's description
    const char* announced;  // the start of what a change to this mode tells, "" for nothing
  } rows[] = {
      // clang-format off
      {"at start", {}, ClockMode::None, false, false, "時刻なし", {}, {}, {}, false, "「時計」か「今何時」", ""},
      {"presses before a mode", {"L", "L", "R"}, ClockMode::None, false, false, "時刻なし", {}, {}, {}, false,
       "「時計」か「今何時」", ""},
      {"live, before its first tick", {"時計"}, ClockMode::Live, true, false, "時刻なし", {}, {}, {}, false,
       "パソコンの時刻", "時計。"},
      {"live at 15:30", {"時計", "tick"}, ClockMode::Live, true, false, "15時30分", 930, 0, 1439, false,
       "パソコンの時刻", "時計。"},
      {"by hand", {"今何時"}, ClockMode::Manual, false, true, "12時0分", 720, 60, 779, true, "自動で進み",
       "今何時。"},
      {"by hand, 5 minutes, one back", {"今何時", "pick:1", "R"}, ClockMode::Manual, false, true, "11時55分", 715,
       60, 779, true, "5分進み", "今何時。"},
      {"by hand, 60 minutes", {"今何時", "pick:5", "L"}, ClockMode::Manual, false, true, "1時0分", 60, 60, 779, true,
       "1時間進み", "今何時。"},
      {"AUTO running", {"今何時", "L", "run", "run"}, ClockMode::Manual, false, true, "12時2分", 722, 60, 779, true,
       "自動で進み", "今何時。"},
      {"live, then by hand", {"時計", "tick", "今何時"}, ClockMode::Manual, false, true, "12時0分", 720, 60, 779,
       true, "自動で進み", "今何時。"},
      {"by hand, then live: AUTO again", {"今何時", "pick:3", "L", "時計"}, ClockMode::Live, true, false, "時刻なし",
       {}, {}, {}, false, "パソコンの時刻", "時計。"},
      // clang-format on
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    OwnForm w;
    Form88& f = w.f;
    w.clock.set(15, 30, 0);
    for (const char* a : r.actions) act(f, a);

    EXPECT_EQ(modeOf(f), r.mode);
    EXPECT_EQ(modeButtonOn(f.Command8), r.clockOn);
    EXPECT_EQ(modeButtonOn(f.Command12), r.manualOn);
    EXPECT_EQ(faceValueText(f), r.valueText);
    EXPECT_EQ(faceValue(f), r.value);
    const auto range = faceValueRange(f);
    EXPECT_EQ(range.has_value(), r.rangeMin.has_value());
    if (range && r.rangeMin) {
      EXPECT_EQ(range->minimum, *r.rangeMin);
      EXPECT_EQ(range->maximum, *r.rangeMax);
    }
    EXPECT_EQ(faceStepsOffered(f), r.stepsOffered);
    EXPECT_NE(faceDescription(f).find(r.describes), std::string::npos) << faceDescription(f);
    const auto said = modeAnnouncement(f);
    EXPECT_EQ(said.has_value(), *r.announced != '\0');
    if (said) {
      EXPECT_TRUE(said->starts_with(r.announced)) << *said;
    }
    // The name says what the face is, never the time (a screen reader would
    // say the time twice).
    EXPECT_NE(std::string(kFaceName), faceValueText(f));
  }
}

// Wherever presses take the manual clock, and whatever the hour of the
// live clock, the value and the text are the time shown, and the value stays
// inside the range given.
TEST_F(AccessibleClock, TheValueKeepsToItsRange) {
  const struct {
    int step;  // list position
    int presses;
    int button;
  } runs[] = {{5, 30, kLeftButton}, {5, 30, kRightButton}, {4, 50, kLeftButton}, {0, 130, kRightButton}};
  for (const auto& run : runs) {
    SCOPED_TRACE(testing::Message() << "step " << run.step << ", button " << run.button);
    manual(run.step);
    long long minutes = 0;
    const int by = rules::kStepRows[static_cast<std::size_t>(run.step)].minutes;
    for (int i = 0; i < run.presses; ++i) {
      press(run.button);
      minutes += run.button == kLeftButton ? by : -by;
      const rules::HourMinute want = shownFor(minutes);
      ASSERT_EQ(faceValue(f), want.hour * 60 + want.minute) << "after " << i + 1 << " presses";
      ASSERT_EQ(faceValueText(f), std::to_string(want.hour) + "時" + std::to_string(want.minute) + "分");
      const auto range = faceValueRange(f);
      ASSERT_TRUE(range);
      EXPECT_GE(*faceValue(f), range->minimum);
      EXPECT_LE(*faceValue(f), range->maximum);
    }
  }
  for (int hour : {0, 1, 11, 12, 13, 23}) {
    SCOPED_TRACE(hour);
    live(hour, 59, 0);
    const auto range = faceValueRange(f);
    ASSERT_TRUE(range && faceValue(f));
    EXPECT_EQ(*faceValue(f), hour * 60 + 59);
    EXPECT_EQ(faceValueText(f), std::to_string(hour) + "時59分");
    EXPECT_GE(*faceValue(f), range->minimum);
    EXPECT_LE(*faceValue(f), range->maximum);
  }
}

}  // namespace
}  // namespace tirpo
