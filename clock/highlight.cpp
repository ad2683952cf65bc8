#include "clock/highlight.h"

#include <cmath>

#include "clock/numeric.h"

namespace tirpo {

namespace {

// v modulo m in 0..m-1 for any finite v (whole numbers here).
int floorModulo(double v, int m) {
  double r = std::fmod(v, m);
  if (r < 0) r += m;
  return static_cast<int>(r) % m;
}

}  // namespace

std::optional<int> minuteNumeralFor(std::string_view caption) {
  const auto v = strictNumber(caption);
  if (!v) return std::nullopt;
  const int m = floorModulo(roundHalfEven(*v), 60);
  return m == 0 ? 60 : m;
}

std::array<int, 5> hourSectorDots(std::string_view caption) {
  const double h = roundHalfEven(lenientNumber(caption));
  const int first = floorModulo(h, 12) * 5;
  std::array<int, 5> dots{};
  for (int j = 0; j < 5; ++j) dots[j] = first + j == 0 ? 60 : first + j;
  return dots;
}

}  // namespace tirpo
