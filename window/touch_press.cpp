#include "window/touch_press.h"

#include <algorithm>
#include <cmath>

#include "window/form88.h"

namespace tirpo {

TouchPress::Verdict TouchPress::waiting(std::int64_t nowMs) const {
  if (phase_ != Phase::Counting) return {};
  const std::int64_t held = nowMs - downAtMs_;
  const std::int64_t next = held < kShowHoldAfterMs ? kShowHoldAfterMs : kHoldMs;
  return {0, 0, 0, std::max<std::int64_t>(1, next - held)};
}

TouchPress::Verdict TouchPress::pressed(int button) {
  phase_ = fingers_ > 0 ? Phase::Done : Phase::Idle;
  return {button, x_, y_, 0};
}

TouchPress::Verdict TouchPress::check(std::int64_t nowMs) {
  if (phase_ == Phase::Counting && nowMs - downAtMs_ >= kHoldMs) return pressed(kRightButton);
  return waiting(nowMs);
}

TouchPress::Verdict TouchPress::down(int id, double xTwips, double yTwips, std::int64_t nowMs) {
  // A hold reached before this finger came (its check came late) still counts.
  const Verdict held = check(nowMs);
  ++fingers_;
  if (fingers_ > 1) {
    phase_ = Phase::Done;  // a second finger: this touch presses nothing more
    return held.button ? held : Verdict{};
  }
  phase_ = Phase::Counting;
  id_ = id;
  x_ = xTwips;
  y_ = yTwips;
  downAtMs_ = nowMs;
  return waiting(nowMs);
}

TouchPress::Verdict TouchPress::move(int id, double xTwips, double yTwips, std::int64_t nowMs) {
  const Verdict held = check(nowMs);
  if (held.button || phase_ != Phase::Counting || id != id_) return held;
  if (std::hypot(xTwips - x_, yTwips - y_) > kSlopTwips) {
    phase_ = Phase::Done;  // the finger slides: no press
    return {};
  }
  return waiting(nowMs);
}

TouchPress::Verdict TouchPress::up(int id, double xTwips, double yTwips, std::int64_t nowMs) {
  const Verdict held = check(nowMs);
  fingers_ = std::max(0, fingers_ - 1);
  if (held.button) {
    if (fingers_ == 0) phase_ = Phase::Idle;
    return held;
  }
  if (phase_ == Phase::Counting && id == id_) {
    // The last move may not have been reported before the lift.
    if (std::hypot(xTwips - x_, yTwips - y_) > kSlopTwips) {
      phase_ = fingers_ > 0 ? Phase::Done : Phase::Idle;
      return {};
    }
    return pressed(kLeftButton);
  }
  if (fingers_ == 0) phase_ = Phase::Idle;
  return {};
}

TouchPress::Verdict TouchPress::cancel() {
  phase_ = Phase::Idle;
  fingers_ = 0;
  return {};
}

double TouchPress::holdShown(std::int64_t nowMs) const {
  if (phase_ != Phase::Counting) return -1;
  const std::int64_t held = nowMs - downAtMs_;
  if (held < kShowHoldAfterMs) return -1;
  return std::min(1.0, static_cast<double>(held - kShowHoldAfterMs) / static_cast<double>(kHoldMs - kShowHoldAfterMs));
}

}  // namespace tirpo
