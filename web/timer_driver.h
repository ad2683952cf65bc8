#pragma once
// Drives a window timer from the browser's timeouts. The one-second timer is
// kept in step with the wall clock (view/second_alignment.h): it fires just
// after each whole second, so the live clock's reading changes with the
// system's second and is never a second behind. A tab brought back from the
// background (where the browser slows timeouts down) ticks at once.

#include "window/controls.h"

namespace tirpo::web {

class TimerDriver {
 public:
  TimerDriver(Timer& timer, bool alignToSeconds) : timer_(timer), align_(alignToSeconds) {}
  ~TimerDriver() { stop(); }
  TimerDriver(const TimerDriver&) = delete;
  TimerDriver& operator=(const TimerDriver&) = delete;

  // Brings the timeout in line with the window timer's Enabled and Interval.
  void sync();
  // The page became visible again: an aligned timer that runs ticks now.
  void tickNow();

 private:
  static void onTimeout(void* self);
  void start(double ms);
  void stop();
  bool aligned() const { return align_ && timer_.interval() == 1000; }

  Timer& timer_;
  bool align_;
  long timeout_ = 0;
  bool pending_ = false;
};

}  // namespace tirpo::web
