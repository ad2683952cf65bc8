#pragma once
// The clock window's own variables: the mode flags, the dial scale and the
// scratch values of the last reading. Flags are the window's Booleans
// (clock/boolean.h) and are compared against True and False.

#include <optional>

#include "clock/boolean.h"

namespace tirpo {

struct ClockState {
  std::optional<double> dialRadius;  // empty until the first layout
  float dialScale = 0;               // outer height in twips / 5800
  Boolean liveClock = False;
  Boolean stepMode = False;
  float stepIndex = 0;  // list position last picked in the step list
  float minutePos = 0;
  Boolean runForward = False;
  Boolean runBackward = False;
  std::optional<double> daySeconds;
  std::optional<double> hourValue;

  // An empty radius draws with length 0.
  double radius() const { return dialRadius.value_or(0.0); }

  // Every field takes part: a field added later is compared too.
  friend bool operator==(const ClockState&, const ClockState&) = default;
};

}  // namespace tirpo
