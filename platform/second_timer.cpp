#include "platform/second_timer.h"

#include <cmath>

#include "platform/local_clock.h"
#include "view/second_alignment.h"

namespace tirpo {

namespace {

// How far into its second the wall clock is: the same clock the live clock
// reads, so the tick lands in the second it is meant to show.
double wallMsIntoSecond() { return static_cast<double>(wallClockNow().tv_nsec) / 1e6; }

int wholeMs(double ms) { return static_cast<int>(std::ceil(ms)); }

}  // namespace

TimerDriver::TimerDriver(Timer& timer, bool alignToSeconds, QObject* parent)
    : QObject(parent), timer_(timer), align_(alignToSeconds) {
  qtimer_.setTimerType(Qt::PreciseTimer);
  connect(&qtimer_, &QTimer::timeout, this, &TimerDriver::onTimeout);
}

void TimerDriver::sync() {
  if (!timer_.enabled() || timer_.interval() <= 0) {
    qtimer_.stop();
    return;
  }
  qtimer_.setSingleShot(aligned());
  qtimer_.start(aligned() ? wholeMs(delayToNextSecond(wallMsIntoSecond())) : timer_.interval());
}

void TimerDriver::onTimeout() {
  if (aligned()) {
    const SecondTick tick = secondTickAt(wallMsIntoSecond());
    qtimer_.start(wholeMs(tick.delayMs));
    if (!tick.fire) return;
  }
  timer_.fire();
}

}  // namespace tirpo
