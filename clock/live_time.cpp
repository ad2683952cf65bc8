#include "clock/live_time.h"

namespace tirpo {

LiveReading readLive(const TimeOfDay& now) {
  // The time of day as a fraction of a day, then scaled back to seconds the
  // way the clock always has (the product need not be a whole number).
  const double dayFraction = (now.hour * 3600.0 + now.minute * 60.0 + now.second) / 86400.0;
  LiveReading r{};
  r.daySeconds = dayFraction * 60 * 60 * 24;
  r.minutePos = static_cast<float>(r.daySeconds / 60);
  r.hourValue = static_cast<double>(r.minutePos) / 60;
  r.secondAngle = static_cast<float>(r.daySeconds * 6);
  r.minuteAngle = r.minutePos * 6.0f;
  r.hourAngle = static_cast<float>(r.hourValue * 30);
  r.hour = now.hour;
  r.minute = now.minute;
  return r;
}

}  // namespace tirpo
