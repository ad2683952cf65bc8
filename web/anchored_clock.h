#pragma once
// The wall clock as precisely as a page can read it, and always right.
//
// A page has two clocks. performance.now() is steady and finer than a
// millisecond, but it does not follow the computer's clock when that is set
// (by a teacher, by NTP, by a change of time zone's daylight rules) and on
// many systems it stands still while the device sleeps. Date.now() follows
// the computer's clock, but only in whole milliseconds. The anchored clock
// reads the steady clock plus an offset, and checks every reading against
// Date.now() read just after it: the true time lies within that
// millisecond, so a reading outside it moves the offset by just as much as
// brings it back. A jump, a wake or a drift is followed at the next
// reading; between them the readings keep the steady clock's precision.
//
// No browser here: the page feeds it both clocks (web/browser_clock.h).

namespace tirpo::web {

class AnchoredClock {
 public:
  // The wall clock in milliseconds since the epoch, from the steady clock
  // and Date.now() read just after it; always within Date.now()'s
  // millisecond: dateMs <= result < dateMs + 1.
  double read(double steadyMs, double dateMs);

 private:
  double offset_ = 0;
  bool anchored_ = false;
};

}  // namespace tirpo::web
