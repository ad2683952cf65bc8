#pragma once
// The clock window's own variables: the mode flags, the dial scale and the
// scratch values of the last reading. Flags are 16-bit Booleans
// (True = -1, False = 0) and are compared against those exact values.

#include <cstdint>
#include <optional>

namespace tirpo {

using Boolean = std::int16_t;
inline constexpr Boolean True = -1;
inline constexpr Boolean False = 0;

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
};

}  // namespace tirpo
