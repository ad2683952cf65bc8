// The live clock, the two mode buttons and the step list.

#include "support/loaded_form.h"

namespace tirpo {
namespace {

using LiveClock = LoadedForm;

// The reading itself (angles, labels) is tabled with the live clock's rules;
// this shows a tick puts it on the hands, with their lengths, and the labels,
// whose highlights follow.
TEST_F(LiveClock, TicksPutTheHandsAndLabelsAtTheTimeOfDay) {
  const TimeOfDay times[] = {{0, 0, 0}, {3, 0, 0}, {12, 30, 0}, {23, 59, 59}};
  f.Command8_Click();
  for (const TimeOfDay& t : times) {
    SCOPED_TRACE(testing::Message() << t.hour << ':' << t.minute << ':' << t.second);
    clock.time = t;
    f.Timer1_Timer();
    const rules::LiveAngles a = rules::liveAnglesAt(t.hour, t.minute, t.second);
    expectHand(f.Byou, 0.9, a.second);
    expectHand(f.Hun, 0.81, a.minute);
    expectHand(f.Ji, 0.54, a.hour);
    EXPECT_EQ(f.Label7.caption(), std::to_string(t.hour));
    EXPECT_EQ(f.Label8.caption(), std::to_string(t.minute));
    EXPECT_EQ(litFaceMismatch(f, {t.minute, kCyan, t.hour}), "");
  }
}

// The hands and the labels come from one reading, so they cannot disagree
// across a minute boundary.
TEST_F(LiveClock, HandsAndLabelsShareOneReading) {
  f.Command8_Click();
  clock.set(0, 59, 59);
  clock.secondsPerRead = 1;
  f.Timer1_Timer();
  EXPECT_EQ(f.Label7.caption(), "0");
  EXPECT_EQ(f.Label8.caption(), "59");
  expectHand(f.Byou, 0.9, 3599 * 6);
}

TEST_F(LiveClock, IdleWhileTheLiveClockIsOff) {
  clock.set(10, 10, 10);
  for (bool manualMode : {false, true}) {
    if (manualMode) manual();
    const Snapshot before = snapshot(f);
    f.Timer1_Timer();
    EXPECT_EQ(snapshot(f), before);
  }
  EXPECT_EQ(clock.reads, 0);
}

// Each button's whole effect, from each of the three modes.
enum class From { StartUp, Live, Manual };

class ModeButtons : public LoadedForm, public ::testing::WithParamInterface<From> {
 protected:
  void enter(From from) {
    if (from == From::Live) live(12, 30, 0);
    if (from == From::Manual) {
      manual(3);
      press(kLeftButton);  // 15 minutes past, run timer on
    }
  }
};

TEST_P(ModeButtons, ClockButtonTurnsTheLiveClockOn) {
  enter(GetParam());
  const Colour check2Before = f.Check2.backColor();
  const float handX = f.Hun.x2(), handY = f.Hun.y2();
  f.Command8_Click();

  EXPECT_EQ(f.caption(), "tirpoアナログ時計");
  EXPECT_EQ(f.backColor(), kDarkGreen);
  EXPECT_EQ(f.Command8.backColor(), kYellow);
  EXPECT_EQ(f.Command12.backColor(), kSystemButtonFace);
  EXPECT_EQ(f.state.liveClock, True);
  EXPECT_EQ(f.state.stepMode, False);
  EXPECT_TRUE(f.Timer1.enabled());
  EXPECT_FALSE(f.Timer4.enabled());
  EXPECT_FALSE(f.Combo1.visible());
  EXPECT_EQ(f.Combo1.text(), "AUTO");
  EXPECT_TRUE(f.Ji.visible() && f.Hun.visible());
  EXPECT_FALSE(f.Byou.visible());
  EXPECT_EQ(f.Check3[2].value(), 0);
  EXPECT_TRUE(f.Check3[2].enabled());
  EXPECT_EQ(f.Hun.borderColor(), kCyan);
  EXPECT_EQ(f.Hun.x2(), handX);  // the first tick places the hands
  EXPECT_EQ(f.Hun.y2(), handY);
  EXPECT_TRUE(f.Image1.enabled());
  for (int i = 0; i < kHandBoxCount; ++i) EXPECT_EQ(f.Check3[i].backColor(), kDarkGreen);
  EXPECT_EQ(f.Frame1.backColor(), kDarkGreen);
  EXPECT_EQ(f.Check2.backColor(), check2Before);
  EXPECT_EQ(f.Label7.caption(), "");
  EXPECT_EQ(f.Label8.caption(), "");
  // The face is revealed as for a small window, in its default colours.
  EXPECT_FALSE(f.Label5.visible());
  EXPECT_TRUE(allVisible(f.dot, True));
  EXPECT_TRUE(allVisible(f.Suuji, True));
  EXPECT_TRUE(allVisible(f.Suuji2, False));
  EXPECT_TRUE(f.Image1.visible());
  EXPECT_FALSE(f.Image4.visible());
  EXPECT_EQ(indicesWithColour(f.dot, kYellow).size(), 60u);
  EXPECT_EQ(indicesWithColour(f.Suuji2, kCyan).size(), 60u);
  EXPECT_EQ(indicesWithColour(f.Suuji, kRed).size(), 12u);
}

TEST_P(ModeButtons, ClockButtonTwiceIsTheSameAsOnce) {
  enter(GetParam());
  f.Command8_Click();
  const Snapshot once = snapshot(f);
  f.Command8_Click();
  EXPECT_EQ(snapshot(f), once);
}

TEST_P(ModeButtons, WhatTimeButtonTurnsTheManualClockOn) {
  const From from = GetParam();
  enter(from);
  const Boolean liveBefore = f.state.liveClock;
  const Boolean timer4Before = f.Timer4.enabled();
  const Boolean numeralsBefore = f.Suuji2[1].visible();
  const std::string label8Before = f.Label8.caption();
  const std::string titleBefore = f.caption();
  f.Command12_Click();

  EXPECT_EQ(f.state.stepMode, True);
  EXPECT_EQ(f.state.liveClock, liveBefore);
  EXPECT_FALSE(f.Timer1.enabled());
  EXPECT_EQ(f.Timer4.enabled(), timer4Before);
  EXPECT_EQ(f.Label7.caption(), "");
  EXPECT_EQ(f.Label8.caption(), label8Before);
  EXPECT_EQ(f.Label1.caption(), "");
  EXPECT_EQ(f.Label2.caption(), "");
  EXPECT_TRUE(f.Combo1.visible());
  EXPECT_EQ(f.Command8.backColor(), kLightGrey);
  EXPECT_EQ(f.Command12.backColor(), kYellow);
  EXPECT_EQ(f.backColor(), kGrey);
  for (int i = 0; i < kHandBoxCount; ++i) EXPECT_EQ(f.Check3[i].backColor(), kGrey);
  EXPECT_EQ(f.Frame1.backColor(), kGrey);
  EXPECT_EQ(f.Check2.backColor(), kGrey);
  EXPECT_EQ(f.Hun.borderColor(), kGreen);
  // A picked step keeps its title; the "AUTO" text brings the run help.
  EXPECT_EQ(f.caption(), from == From::Manual ? titleBefore : rules::kAutoTitleText);
  expectHand(f.Byou, 0.9, 0);
  expectManualHands(f, 0, 0);
  EXPECT_TRUE(f.Ji.visible() && f.Hun.visible());
  EXPECT_FALSE(f.Byou.visible());
  EXPECT_EQ(f.Check3[2].value(), 0);
  EXPECT_FALSE(f.Check3[2].enabled());
  EXPECT_FALSE(f.Label5.visible());
  EXPECT_TRUE(allVisible(f.dot, True));
  EXPECT_TRUE(allVisible(f.Suuji, True));
  EXPECT_TRUE(allVisible(f.Suuji2, numeralsBefore));
  EXPECT_EQ(indicesWithColour(f.Suuji2, kGreen).size(), 60u);
  EXPECT_EQ(indicesWithColour(f.dot, kYellow).size(), 60u);
  EXPECT_EQ(indicesWithColour(f.Suuji, kRed).size(), 12u);
}

INSTANTIATE_TEST_SUITE_P(
    FromEachMode, ModeButtons, ::testing::Values(From::StartUp, From::Live, From::Manual), [](const auto& info) {
      return std::string(info.param == From::StartUp ? "StartUp" : info.param == From::Live ? "Live" : "Manual");
    });

using ModeSequences = LoadedForm;

TEST_F(ModeSequences, ClockThenWhatTimeLeavesBothFlagsWithTheLiveTimerOff) {
  live(8, 0, 0);
  f.Command12_Click();
  EXPECT_EQ(f.state.liveClock, True);
  EXPECT_EQ(f.state.stepMode, True);
  EXPECT_FALSE(f.Timer1.enabled());
  press(kLeftButton);  // presses work: the button is no longer yellow
  EXPECT_TRUE(f.Timer4.enabled());
}

TEST_F(ModeSequences, OnlyTheClockButtonEndsARun) {
  manual();
  press(kLeftButton);
  ASSERT_TRUE(f.Timer4.enabled());
  f.Command12_Click();
  EXPECT_TRUE(f.Timer4.enabled());
  f.Command8_Click();
  EXPECT_FALSE(f.Timer4.enabled());
}

TEST_F(ModeSequences, WhatTimeWithNoMinutesKeepsTheHour) {
  press(kLeftButton);
  press(kLeftButton);  // the hour counter before any mode button
  ASSERT_EQ(f.Label1.caption(), "");
  ASSERT_EQ(f.Label2.caption(), "2");
  f.Command12_Click();
  EXPECT_EQ(f.Label2.caption(), "2");
}

TEST_F(ModeSequences, StepListPicksAndTitles) {
  using rules::kStepRows;
  manual();
  f.Combo1.pick(5);
  EXPECT_EQ(f.state.stepIndex, 5.0f);
  EXPECT_EQ(f.caption(), rules::stepTitle(kStepRows[5]));
  f.Combo1.pick(0);
  EXPECT_EQ(f.state.stepIndex, 0.0f);
  EXPECT_EQ(f.caption(), rules::stepTitle(kStepRows[0]));
  f.Combo1.pick(2);
  f.Combo1.typeText("30");  // typing raises no click
  EXPECT_EQ(f.state.stepIndex, 2.0f);
  EXPECT_EQ(f.caption(), rules::stepTitle(kStepRows[2]));
  f.Command8_Click();  // writes "AUTO" back, keeps the position
  EXPECT_EQ(f.state.stepIndex, 2.0f);
  f.Command12_Click();
  EXPECT_EQ(f.caption(), rules::kAutoTitleText);
}

}  // namespace
}  // namespace tirpo
