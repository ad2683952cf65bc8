#include "platform/local_clock.h"

#include <ctime>

namespace tirpo {

TimeOfDay LocalClock::now() const {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return {local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace tirpo
