#include "web/anchored_clock.h"

#include <cmath>

namespace tirpo::web {

namespace {

// The latest reading still inside Date.now()'s millisecond; a reading of
// dateMs + 1 would already be the next millisecond (and, at 999, the next
// second).
double lastInside(double dateMs) { return std::nextafter(dateMs + 1, dateMs); }

}  // namespace

double AnchoredClock::read(double steadyMs, double dateMs) {
  if (!anchored_) {
    // Half way into Date.now()'s millisecond: off by half a millisecond at
    // most, whichever way the truth lies.
    offset_ = dateMs + 0.5 - steadyMs;
    anchored_ = true;
  }
  const double wall = steadyMs + offset_;
  if (wall >= dateMs && wall < dateMs + 1) return wall;
  // Moved the least that puts it back inside: a clock set forward or woken
  // from sleep lands on the start of the millisecond, one set back on its end.
  const double inside = wall < dateMs ? dateMs : lastInside(dateMs);
  offset_ = inside - steadyMs;
  return inside;
}

}  // namespace tirpo::web
