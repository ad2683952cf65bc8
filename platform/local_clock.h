#pragma once
// The computer's local time of day.

#include "window/system_clock.h"

namespace tirpo {

class LocalClock final : public SystemClock {
 public:
  TimeOfDay now() const override;
};

}  // namespace tirpo
