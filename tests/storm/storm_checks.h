#pragma once
// Readings of the clock window shared by the storm and the long runs: hand
// angles worked back from the end points, the float step of a radian value,
// clock values read back from label captions, and what the highlights must
// be for a minute count or an hour.

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "window/form88.h"

namespace tirpo::storm {

inline constexpr double kPi = 3.14159265358979323846;
// The clock turns degrees into radians with its own constant.
inline constexpr double kClockPi = 3.14159265;

// The radians of an angle in degrees as the clock works them, in double and
// in the same order (deg / 180 * pi), before any rounding to float.
inline double clockRadians(double deg) { return deg / 180.0 * kClockPi; }

// v reduced into (-pi, pi].
inline double wrapPi(double v) {
  v = std::fmod(v, 2 * kPi);
  if (v > kPi) v -= 2 * kPi;
  if (v <= -kPi) v += 2 * kPi;
  return v;
}

// Half the distance to the next float above |v|: the largest error of
// rounding v to float.
inline double halfFloatStep(double v) {
  const float f = static_cast<float>(std::fabs(v));
  return (static_cast<double>(std::nextafter(f, std::numeric_limits<float>::infinity())) - f) / 2.0;
}

// The direction a hand points, radians clockwise from 12 o'clock, from its
// end point (x = sin, y = cos).
inline double handAngle(const Line& hand) {
  return std::atan2(static_cast<double>(hand.x2()), static_cast<double>(hand.y2()));
}

inline double handLength(const Line& hand) {
  return std::hypot(static_cast<double>(hand.x2()), static_cast<double>(hand.y2()));
}

// A clock value as the program writes it: "" or a whole number without
// leading zeros, blanks or a plus sign ("0", "15", "-5").
inline bool isWholeNumberText(const std::string& s) {
  std::size_t i = s.empty() || s[0] != '-' ? 0 : 1;
  if (i == s.size()) return false;
  if (s[i] == '0') return s.size() == i + 1 && i == 0;  // "0", never "-0" or "05"
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return s.size() <= 19;
}

// The value of a clock value caption; none for "".
inline std::optional<long long> wholeNumber(const std::string& s) {
  if (s.empty()) return std::nullopt;
  return std::stoll(s);
}

inline long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
inline int floorMod(long long a, int m) { return static_cast<int>(((a % m) + m) % m); }

// The minute numeral lit for a minute count: numeral 60 (" 0") stands at
// the top, where the count is a whole number of hours.
inline int numeralFor(long long minutes) {
  const int m = floorMod(minutes, 60);
  return m == 0 ? 60 : m;
}

// The five dots of an hour's sector, in ascending order; dot 60 stands for
// the dot at the top (0).
inline std::vector<int> sectorFor(long long hour) {
  const int first = floorMod(hour, 12) * 5;
  std::vector<int> dots;
  for (int j = 0; j < 5; ++j) dots.push_back(first + j == 0 ? 60 : first + j);
  if (first == 0) {  // 60 sorts last
    dots.erase(dots.begin());
    dots.push_back(60);
  }
  return dots;
}

inline std::vector<int> withColour(const ControlArray<Label>& a, int last, Colour c) {
  std::vector<int> out;
  for (int i = 1; i <= last; ++i)
    if (a[i].foreColor() == c) out.push_back(i);
  return out;
}

inline std::string listText(const std::vector<int>& v) {
  std::string s = "{";
  for (int i : v) s += (s.size() > 1 ? "," : "") + std::to_string(i);
  return s + "}";
}

}  // namespace tirpo::storm
