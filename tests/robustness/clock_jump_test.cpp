// The system clock jumping back or forward under the running live clock:
// the next tick shows the new time, and nothing of the old time is left on
// the face.

#include <string>
#include <vector>

#include "support/loaded_form.h"

namespace tirpo {
namespace {

struct Reading {
  TimeOfDay t;
  const char* why;
};

// The face of a window that has only ever read this time: started at this
// size, switched to the live clock, ticked once.
std::string freshFaceAt(const TimeOfDay& t, float outerW, float outerH) {
  OwnForm own;
  own.f.setHeight(outerH);
  own.f.setWidth(outerW);
  own.f.Command8_Click();
  own.clock.time = t;
  own.f.Timer1_Timer();
  return faceSnapshot(own.f);
}

class ClockJump : public LoadedForm {
 protected:
  // One tick at t: the face shows t, and nothing of an earlier reading is
  // left: it is the face a window that only ever saw t would show (what a
  // tick shows for a time is the live clock's own test).
  void tickAndCheck(const Reading& r) {
    SCOPED_TRACE(testing::Message() << r.why << ": " << r.t.hour << ':' << r.t.minute << ':' << r.t.second);
    clock.time = r.t;
    f.Timer1_Timer();
    EXPECT_EQ(f.Label7.caption(), std::to_string(r.t.hour));
    EXPECT_EQ(f.Label8.caption(), std::to_string(r.t.minute));
    EXPECT_EQ(faceSnapshot(f), freshFaceAt(r.t, f.width(), f.height()));
  }
};

// The clock set back and forward between ticks, across midnight both ways,
// by hours and by a single second.
TEST_F(ClockJump, NextTickShowsTheNewTime) {
  const Reading jumps[] = {
      {{10, 0, 0}, "running"},
      {{8, 30, 0}, "set back an hour and a half"},
      {{23, 59, 59}, "set forward to the last second of the day"},
      {{0, 0, 0}, "on past midnight"},
      {{23, 59, 59}, "back across midnight"},
      {{10, 0, 0}, "forward again"},
      {{9, 59, 59}, "back by one second"},
      {{12, 0, 0}, "forward across the hour"},
      {{12, 0, 0}, "the clock stands still"},
      {{0, 0, 1}, "back to just after midnight"},
  };
  f.Command8_Click();
  for (const Reading& r : jumps) tickAndCheck(r);
}

// A resize between the ticks clears the face; the tick after the jump still
// draws the new time at the new size.
TEST_F(ClockJump, AcrossAResize) {
  f.Command8_Click();
  tickAndCheck({{10, 0, 0}, "before the resize"});
  f.setHeight(11600);
  f.setWidth(11600);
  ASSERT_EQ(f.Label7.caption(), "");
  tickAndCheck({{8, 30, 0}, "set back, window doubled"});
  f.setHeight(2900);
  tickAndCheck({{23, 59, 59}, "set forward, window halved"});
}

// Going to the hand-set clock and back after the jump: the live clock
// picks up the time of day, not what it showed before.
TEST_F(ClockJump, BackFromTheHandSetClock) {
  f.Command8_Click();
  tickAndCheck({{10, 0, 0}, "before"});
  f.Command12_Click();
  f.Combo1.pick(3);
  press(kLeftButton);
  clock.set(8, 30, 0);
  // The hand-set clock has stopped the one-second timer, so no tick comes
  // to show the jump while the time is set by hand. (The live-clock flag
  // stays on after 時計 then 今何時; only the stopped timer keeps it silent.)
  ASSERT_FALSE(f.Timer1.enabled());
  EXPECT_EQ(f.Label1.caption(), "15");
  EXPECT_EQ(f.Label7.caption(), "");
  f.Command8_Click();
  tickAndCheck({{8, 30, 0}, "after 時計"});
}

}  // namespace
}  // namespace tirpo
