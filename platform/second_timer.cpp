#include "platform/second_timer.h"

#include "platform/local_clock.h"

namespace tirpo {

TimerDriver::TimerDriver(Timer& timer, bool alignToSeconds, QObject* parent)
    : QObject(parent), timer_(timer), align_(alignToSeconds) {
  qtimer_.setTimerType(Qt::PreciseTimer);
  connect(&qtimer_, &QTimer::timeout, this, &TimerDriver::onTimeout);
}

int TimerDriver::delayToNextSecond() const {
  // The same clock the live clock reads, so the tick lands in the second it
  // is meant to show.
  const int ms = static_cast<int>(wallClockNow().tv_nsec / 1000000);
  return 1000 - ms + kAfterSecondMs;
}

void TimerDriver::sync() {
  if (!timer_.enabled() || timer_.interval() <= 0) {
    qtimer_.stop();
    return;
  }
  qtimer_.setSingleShot(aligned());
  qtimer_.start(aligned() ? delayToNextSecond() : timer_.interval());
}

void TimerDriver::onTimeout() {
  if (aligned()) qtimer_.start(delayToNextSecond());
  timer_.fire();
}

}  // namespace tirpo
