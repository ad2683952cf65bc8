#pragma once
// The computer's local time of day, read from the kernel's precise real-time
// clock. The live clock's one-second timer is aligned to the seconds of this
// same clock, so a tick that fires just after a whole second always reads
// that second.
//
// std::time would not do: it returns the kernel's coarse clock, which moves
// on only at the kernel's own ticks (and less often on an idle machine), so
// for a few milliseconds into a new second it still reads the old one. A tick
// that read it there would leave the second hand where it was and make it
// jump two seconds on the next tick.

#include <ctime>

#include "window/system_clock.h"

namespace tirpo {

// The shape of clock_gettime, so tests can stand in for the kernel.
using ClockGetTime = int (*)(clockid_t, timespec*);

// The clock the live clock reads and aligns its ticks to.
inline constexpr clockid_t kWallClock = CLOCK_REALTIME;

// Now on the wall clock, seconds and nanoseconds since the epoch.
timespec wallClockNow(ClockGetTime get = ::clock_gettime);

class LocalClock final : public SystemClock {
 public:
  explicit LocalClock(ClockGetTime get = ::clock_gettime) : get_(get) {}
  TimeOfDay now() const override;

 private:
  ClockGetTime get_;
};

}  // namespace tirpo
