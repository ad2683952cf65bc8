#pragma once
// The live clock's one-second timer keeps in step with the wall clock it
// reads: it fires just after each whole second of that clock, so the second
// it reads has just begun and the face is never a second behind. Both
// editions pace their timer by these rules, each with its own wall clock.

namespace tirpo {

// How far after a whole second the timer fires, in milliseconds.
inline constexpr double kAfterSecondMs = 2;
// A timeout that comes within this many milliseconds before a whole second
// has come early (the timer's clock and the wall clock drift apart): it
// waits for the turn rather than show the second before it again.
inline constexpr double kEarlyWithinMs = 100;

// How far into its second a wall clock reading in milliseconds since the
// epoch lies: 0 <= result < 1000, exactly 0 at a whole second.
double msIntoSecond(double wallMs);

// Milliseconds from a reading msIntoSecond into its second to
// kAfterSecondMs past the next whole second.
double delayToNextSecond(double msIntoSecond);

// What the timer does when its timeout comes msIntoSecond into a second:
// tick now or not, and how long to wait for the next timeout.
struct SecondTick {
  bool fire = false;
  double delayMs = 0;
  bool operator==(const SecondTick&) const = default;
};
SecondTick secondTickAt(double msIntoSecond);

}  // namespace tirpo
