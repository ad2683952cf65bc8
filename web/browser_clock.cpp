#include "web/browser_clock.h"

#include <emscripten/val.h>

#include <cmath>

namespace tirpo::web {

using emscripten::val;

double wallClockMs() {
  static const val performance = val::global("performance");
  static const bool precise = performance.as<bool>() && !performance["timeOrigin"].isUndefined();
  if (precise) return performance["timeOrigin"].as<double>() + performance.call<double>("now");
  return val::global("Date").call<double>("now");
}

double steadyMs() { return val::global("performance").call<double>("now"); }

TimeOfDay BrowserClock::now() const {
  // The local time of day of this very millisecond, whole seconds.
  const val date = val::global("Date").new_(std::floor(wallClockMs()));
  return {date.call<int>("getHours"), date.call<int>("getMinutes"), date.call<int>("getSeconds")};
}

}  // namespace tirpo::web
