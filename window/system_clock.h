#pragma once
// Where the live clock reads the time of day.

#include "clock/live_time.h"

namespace tirpo {

class SystemClock {
 public:
  virtual ~SystemClock() = default;
  virtual TimeOfDay now() const = 0;
};

}  // namespace tirpo
