#include "web/timer_driver.h"

#include <emscripten/eventloop.h>

#include <cmath>

#include "web/browser_clock.h"

namespace tirpo::web {

double delayToNextSecond(double nowMs) {
  const double intoSecond = nowMs - 1000 * std::floor(nowMs / 1000);
  return 1000 - intoSecond + TimerDriver::kAfterSecondMs;
}

void TimerDriver::stop() {
  if (pending_) emscripten_clear_timeout(timeout_);
  pending_ = false;
}

void TimerDriver::start(double ms) {
  stop();
  timeout_ = emscripten_set_timeout(&TimerDriver::onTimeout, ms, this);
  pending_ = true;
}

void TimerDriver::sync() {
  if (!timer_.enabled() || timer_.interval() <= 0) {
    stop();
    return;
  }
  start(aligned() ? delayToNextSecond(wallClockMs()) : timer_.interval());
}

void TimerDriver::tickNow() {
  if (!pending_ || !aligned()) return;
  start(delayToNextSecond(wallClockMs()));
  timer_.fire();
}

void TimerDriver::onTimeout(void* self) {
  auto& d = *static_cast<TimerDriver*>(self);
  d.pending_ = false;
  if (!d.timer_.enabled() || d.timer_.interval() <= 0) return;
  if (d.aligned()) {
    // A timeout that came a little early (the browser's clock and the
    // wall clock drift apart by a millisecond or two) waits for the turn
    // rather than showing the second before it.
    const double now = wallClockMs();
    const double intoSecond = now - 1000 * std::floor(now / 1000);
    if (intoSecond > 900) {
      d.start(delayToNextSecond(now));
      return;
    }
    d.start(delayToNextSecond(now));
  } else {
    d.start(d.timer_.interval());
  }
  d.timer_.fire();
}

}  // namespace tirpo::web
