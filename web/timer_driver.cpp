#include "web/timer_driver.h"

#include <emscripten/eventloop.h>

#include "view/second_alignment.h"
#include "web/browser_clock.h"

namespace tirpo::web {

namespace {

double delayToNextWallSecond() { return delayToNextSecond(msIntoSecond(wallClockMs())); }

}  // namespace

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
  start(aligned() ? delayToNextWallSecond() : timer_.interval());
}

void TimerDriver::tickNow() {
  if (!pending_ || !aligned()) return;
  start(delayToNextWallSecond());
  timer_.fire();
}

void TimerDriver::onTimeout(void* self) {
  auto& d = *static_cast<TimerDriver*>(self);
  d.pending_ = false;
  if (!d.timer_.enabled() || d.timer_.interval() <= 0) return;
  if (d.aligned()) {
    // The wall clock read here is right even when the computer's clock was
    // set or the device slept since the last tick; the next tick is kept in
    // step with it again.
    const SecondTick tick = secondTickAt(msIntoSecond(wallClockMs()));
    d.start(tick.delayMs);
    if (!tick.fire) return;
  } else {
    d.start(d.timer_.interval());
  }
  d.timer_.fire();
}

}  // namespace tirpo::web
