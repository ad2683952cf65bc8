#pragma once
// Face geometry: where a hand ends for an angle, and where a numeral or dot
// sits on its circle. Angles are degrees clockwise from 12 o'clock; face
// units have y growing upward.

namespace tirpo {

// Hand lengths as fractions of the dial radius.
inline constexpr double kSecondHandFactor = 1.0;
inline constexpr double kMinuteHandFactor = 0.9;
inline constexpr double kHourHandFactor = 0.6;

struct HandEnd {
  float x2;
  float y2;
};

// End point of a hand of the given length at angleDeg. The angle is rounded
// to float first, converted by DegToRad, and each coordinate is rounded to
// float as the line's property would store it.
HandEnd handEnd(double length, double angleDeg);

struct DialPoint {
  double x;
  double y;
};

// Point at angleDeg on a circle of the given radius (sine for x, cosine for y
// of the DegToRad angle).
DialPoint dialPoint(float angleDeg, double radius);

}  // namespace tirpo
