#include "view/second_alignment.h"

#include <cmath>

namespace tirpo {

double msIntoSecond(double wallMs) {
  // fmod is exact: no rounding moves a reading across a turn.
  double into = std::fmod(wallMs, 1000.0);
  if (into < 0) into += 1000;  // before the epoch
  return into < 1000 ? into : 0;
}

double delayToNextSecond(double msIntoSecond) { return 1000 - msIntoSecond + kAfterSecondMs; }

SecondTick secondTickAt(double msIntoSecond) {
  return {msIntoSecond < 1000 - kEarlyWithinMs, delayToNextSecond(msIntoSecond)};
}

}  // namespace tirpo
