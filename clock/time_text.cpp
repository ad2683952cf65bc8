#include "clock/time_text.h"

#include <cmath>

#include "clock/numeric.h"

namespace tirpo {

std::optional<ShownTime> manualTimeFor(std::string_view minutesCaption) {
  const auto v = minutesCaption.empty() ? std::optional<double>(0.0) : strictNumber(minutesCaption);
  if (!v) return std::nullopt;
  double minutes = std::fmod(std::floor(roundHalfEven(*v)), 720.0);
  if (minutes < 0) minutes += 720.0;
  const int m = static_cast<int>(minutes);
  const int hour = m / 60 == 0 ? 12 : m / 60;
  return ShownTime{hour, m % 60};
}

std::string timeText(const ShownTime& t) { return std::to_string(t.hour) + "時" + std::to_string(t.minute) + "分"; }

}  // namespace tirpo
