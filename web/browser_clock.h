#pragma once
// The computer's clock as the page reads it: the wall clock in milliseconds
// since the epoch, precise and always right (web/anchored_clock.h: the
// steady performance.now() kept on Date.now()), and the local time of day
// from it, in the time zone the browser has at that moment.

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
