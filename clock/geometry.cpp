#include "clock/geometry.h"

#include <cmath>

#include "clock/numeric.h"

namespace tirpo {

HandEnd handEnd(double length, double angleDeg) {
  const float t = DegToRad(static_cast<float>(angleDeg));
  const double rad = t;
  return {static_cast<float>(std::sin(rad) * length), static_cast<float>(std::cos(rad) * length)};
}

DialPoint dialPoint(float angleDeg, double radius) {
  const double rad = DegToRad(angleDeg);
  return {std::sin(rad) * radius, std::cos(rad) * radius};
}

}  // namespace tirpo
