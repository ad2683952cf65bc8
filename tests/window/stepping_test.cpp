// Setting the time by hand: presses on the face and the run timer's ticks.

#include "support/loaded_form.h"

namespace tirpo {
namespace {

class Stepping : public LoadedForm {
 protected:
  void SetUp() override {
    LoadedForm::SetUp();
    f.setObserver(&log);
  }
  fakes::CaptionLog log;
};

using Strings = std::vector<std::string>;
constexpr int L = kLeftButton, R = kRightButton, M = kMiddleButton;

// Presses in the manual clock, with the step list at `pick` (-1: "AUTO").
TEST_F(Stepping, ManualPresses) {
  const struct {
    const char* name;
    int pick;
    const char *label1, *label2;
    std::vector<int> presses;
    const char *minutes, *hour;
    double minuteDeg, hourDeg;
    bool running;
    int interval;
  } cases[] = {
      {"15 from empty", 3, "", "", {L}, "15", "0", 90, 7.5, true, 1000},
      {"5 back from 0", 1, "0", "0", {R}, "-5", "-1", -30, -2.5, true, 1000},
      {"60 twice", 5, "", "", {L, L}, "120", "2", 720, 60, false, 1000},
      {"1 sets 100 ms", 0, "", "", {L}, "1", "0", 6, 0.5, true, 100},
      {"30 back", 4, "700", "11", {R}, "670", "11", 4020, 335, true, 1000},
      {"back to 12", 1, "-5", "-1", {L}, "0", "0", 0, 0, true, 1000},
      {"past one", 1, "55", "0", {L}, "60", "1", 360, 30, true, 1000},
      {"middle before any direction", 1, "", "", {M}, "0", "0", 0, 0, false, 1000},
      {"middle follows the last direction", 1, "", "", {L, M}, "10", "0", 60, 5, true, 1000},
      {"middle after a backward press", 2, "", "", {R, M}, "-20", "-1", -120, -10, true, 1000},
      {"AUTO press moves no time", -1, "", "", {L}, "", "", 0, 0, true, 10},
      {"AUTO middle redraws", -1, "780", "", {M}, "780", "1", 4680, 390, false, 10},
      {"AUTO with a value", -1, "-5", "3", {R}, "-5", "-1", -30, -2.5, true, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OwnForm own;
    Form88& g = own.f;
    g.Command12_Click();
    if (c.pick >= 0) g.Combo1.pick(c.pick);
    g.Label1.setCaption(c.label1);
    g.Label2.setCaption(c.label2);
    for (int b : c.presses) g.Form_MouseDown(b, 0, 0, 0);
    EXPECT_EQ(g.Label1.caption(), c.minutes);
    EXPECT_EQ(g.Label2.caption(), c.hour);
    expectManualHands(g, c.minuteDeg, c.hourDeg);
    EXPECT_EQ(g.Timer4.enabled(), Boolean::of(c.running));
    EXPECT_EQ(g.Timer4.interval(), c.interval);
    EXPECT_FALSE(g.Timer1.enabled());
    expectHand(g.Byou, 0.9, 0);  // a manual press never moves the second hand
  }
}

TEST_F(Stepping, FirstPressWithAStepWritesInOrder) {
  manual(3);
  log.clear();
  press(L);
  EXPECT_EQ(log.of("Label2"), (Strings{"0", "0", "0"}));
  EXPECT_EQ(log.of("Label1"), (Strings{"0", "15"}));
  std::vector<std::string> order;
  for (const auto& w : log.writes)
    if (w.name == "Label1" || w.name == "Label2") order.push_back(w.name + "=" + w.caption);
  EXPECT_EQ(order, (Strings{"Label2=0", "Label1=0", "Label1=15", "Label2=0", "Label2=0"}));
}

TEST_F(Stepping, HourIsWrittenWholeThenReduced) {
  manual();
  f.Label1.setCaption("780");
  log.clear();
  press(M);
  EXPECT_EQ(log.of("Label2"), (Strings{"13", "1"}));
  f.Label1.setCaption("-785");
  log.clear();
  press(M);
  EXPECT_EQ(log.of("Label2"), (Strings{"-14", "-2"}));
}

TEST_F(Stepping, AutoPressesStartAndStopTheRun) {
  manual();
  const struct {
    int button;
    bool running;
    Boolean forward, backward;
  } steps[] = {
      {L, true, True, False},                            // starts forward
      {L, false, True, False},                           // stops
      {L, true, True, False},  {R, false, False, True},  // the other button stops it and turns round
      {R, true, False, True},                            // and the next one runs backward
      {M, true, False, True},                            // the middle button changes nothing
  };
  for (const auto& s : steps) {
    press(s.button);
    EXPECT_EQ(f.Timer4.enabled(), Boolean::of(s.running));
    EXPECT_EQ(f.state.runForward, s.forward);
    EXPECT_EQ(f.state.runBackward, s.backward);
  }
  f.Timer4_Timer();
  EXPECT_EQ(f.Label1.caption(), "-1");
}

TEST_F(Stepping, TwelvePressesOfTheHourCounterComeRoundToZero) {
  for (int n = 1; n <= 12; ++n) {
    SCOPED_TRACE(n);
    log.clear();
    press(L);
    EXPECT_EQ(log.of("Label2").front(), std::to_string(n));
    EXPECT_EQ(f.Label2.caption(), std::to_string(n % 12));
    expectHand(f.Byou, 0.9, 6 * n);
    EXPECT_EQ(f.Label1.caption(), "");
  }
  EXPECT_FLOAT_EQ(f.state.minutePos, 0.2f);  // 12 of 60, plus no minutes
  EXPECT_FALSE(f.Timer1.enabled());
  expectManualHands(f, 0, 0);
}

TEST_F(Stepping, HourCounterDoesNotGoBelowZero) {
  const struct {
    const char* label2;
    int button;
    const char* after;
    double secondDeg;
  } cases[] = {
      {"", R, "0", 0}, {"0", R, "0", 0}, {"3", R, "2", 12}, {"", L, "1", 6}, {"5", M, "5", 30}, {"11", L, "0", 72},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.label2 << "\" button " << c.button);
    f.Label2.setCaption(c.label2);
    f.Timer1.setEnabled(True);
    press(c.button);
    EXPECT_EQ(f.Label2.caption(), c.after);
    expectHand(f.Byou, 0.9, c.secondDeg);
    EXPECT_FALSE(f.Timer1.enabled());
  }
}

// Check2 stays hidden and unchecked in use; checked, it counts minutes.
TEST_F(Stepping, FiveMinuteBoxCountsTheMinutesInstead) {
  f.Check2.setValue(1);
  const struct {
    int button;
    const char *minutes, *hour;
    double minuteDeg;
  } steps[] = {
      {L, "1", "0", 6}, {L, "2", "0", 12}, {R, "1", "0", 6}, {R, "0", "0", 0}, {R, "0", "0", 0},
  };
  for (const auto& s : steps) {
    press(s.button);
    EXPECT_EQ(f.Label1.caption(), s.minutes);
    EXPECT_EQ(f.Label2.caption(), s.hour);
    expectManualHands(f, s.minuteDeg, s.minuteDeg / 12);
  }
  expectHand(f.Byou, 0.9, 0);
}

TEST_F(Stepping, TheLiveClockIgnoresPresses) {
  live(7, 20, 0);
  const Snapshot before = snapshot(f);
  for (int b : {L, R, M}) press(b);
  EXPECT_EQ(snapshot(f), before);
  EXPECT_TRUE(f.Timer1.enabled());
}

TEST_F(Stepping, AutoTicks) {
  const struct {
    const char* name;
    int direction;  // the press that started the run; 0 for none
    const char *label1, *label2;
    const char* minutesAfter;
    Strings hourWrites;
    double minuteDeg, hourDeg;
  } cases[] = {
      {"backward from 0", R, "0", "0", "-1", {"-1", "11"}, -6, -0.5},
      {"backward from 12", R, "720", "0", "719", {"11", "11"}, 4314, 359.5},
      {"forward from 719", L, "719", "11", "720", {"12", "0"}, 4320, 360},
      {"forward past one", L, "59", "0", "60", {"1", "1"}, 360, 30},
      {"no direction yet", 0, "-720", "0", "-720", {"-12", "12"}, -4320, -360},
      {"from empty", 0, "", "", "0", {"0", "0", "0"}, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OwnForm own;
    Form88& g = own.f;
    g.Command12_Click();
    if (c.direction) g.Form_MouseDown(c.direction, 0, 0, 0);
    g.Label1.setCaption(c.label1);
    g.Label2.setCaption(c.label2);
    EXPECT_EQ(g.Timer4.interval(), 10);
    fakes::CaptionLog writes;
    g.setObserver(&writes);
    g.Timer4_Timer();
    EXPECT_EQ(g.Label1.caption(), c.minutesAfter);
    EXPECT_EQ(writes.of("Label2"), c.hourWrites);
    expectManualHands(g, c.minuteDeg, c.hourDeg);
    EXPECT_EQ(g.Timer4.interval(), 100);
  }
}

TEST_F(Stepping, WithAListStepTicksOnlyRedraw) {
  manual(1);
  press(L);
  ASSERT_TRUE(f.Timer4.enabled());
  ASSERT_EQ(f.Label1.caption(), "5");
  f.Hun.setX2(0.5f);  // anything, to see the redraw
  for (int i = 0; i < 3; ++i) f.Timer4_Timer();
  EXPECT_EQ(f.Label1.caption(), "5");
  EXPECT_EQ(f.Label2.caption(), "0");
  EXPECT_EQ(f.Timer4.interval(), 1000);
  expectManualHands(f, 30, 2.5);
}

}  // namespace
}  // namespace tirpo
