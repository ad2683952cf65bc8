#include "web/browser_clock.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

#include "web/anchored_clock.h"

// The local time of day of a moment, in seconds since midnight, in the
// time zone the browser has now.
// clang-format off
EM_JS(int, tirpo_local_day_seconds, (double ms), {
  const d = new Date(ms);
  return d.getHours() * 3600 + d.getMinutes() * 60 + d.getSeconds();
});
// clang-format on

namespace tirpo::web {

double steadyMs() { return emscripten_get_now(); }

double wallClockMs() {
  static AnchoredClock clock;
  const double steady = steadyMs();
  return clock.read(steady, emscripten_date_now());
}

TimeOfDay BrowserClock::now() const {
  // The whole second of this very millisecond.
  const int s = tirpo_local_day_seconds(std::floor(wallClockMs()));
  return {s / 3600, s / 60 % 60, s % 60};
}

}  // namespace tirpo::web
