#pragma once
// The computer's clock as the page reads it: the precise wall clock
// (performance.timeOrigin + performance.now(), in milliseconds since the
// epoch, finer than Date.now()) and the local time of day from it.

#include "window/system_clock.h"

namespace tirpo::web {

double wallClockMs();
// A steady clock in milliseconds (performance.now()), for pacing.
double steadyMs();

class BrowserClock final : public SystemClock {
 public:
  TimeOfDay now() const override;
};

}  // namespace tirpo::web
