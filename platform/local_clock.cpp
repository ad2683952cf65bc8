#include "platform/local_clock.h"

namespace tirpo {

timespec wallClockNow(ClockGetTime get) {
  timespec ts{};
  if (get(kWallClock, &ts) != 0) ts = {std::time(nullptr), 0};
  return ts;
}

TimeOfDay LocalClock::now() const {
  const std::time_t t = wallClockNow(get_).tv_sec;
  std::tm local{};
  localtime_r(&t, &local);
  return {local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace tirpo
