#include "clock/numeric.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace tirpo {

float DegToRad(float deg) { return static_cast<float>(static_cast<double>(deg) / 180.0 * 3.14159265); }

double roundHalfEven(double v) {
  // nearbyint follows the current rounding mode, which is to-nearest-even.
  return std::nearbyint(v);
}

namespace {

template <typename Int>
std::optional<Int> roundInto(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  const double r = roundHalfEven(v);
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max()))
    return std::nullopt;
  return static_cast<Int>(r);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of s shaped like [+-]digits[.digits][e[+-]digits],
// with at least one digit in the mantissa; 0 when there is none.
std::size_t numberPrefix(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < s.size() && isDigit(s[j])) ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i;
}

// Converts a text already known to be a number prefix. from_chars takes no
// leading '+' and no leading '.', so both are smoothed over here.
double convert(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  std::string buffer;
  if (!s.empty() && s[0] == '.') {
    buffer = "0";
    buffer += s;
    s = buffer;
  }
  double value = 0;
  if (std::from_chars(s.data(), s.data() + s.size(), value).ec == std::errc::result_out_of_range) {
    // Only a negative exponent can make a number too small; anything else
    // out of range is too large.
    const bool tiny = s.find("e-") != std::string_view::npos || s.find("E-") != std::string_view::npos;
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<std::int16_t> toInt16(double v) { return roundInto<std::int16_t>(v); }
std::optional<std::int32_t> toInt32(double v) { return roundInto<std::int32_t>(v); }

std::optional<double> strictNumber(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  const std::size_t n = numberPrefix(text);
  if (n == 0 || n != text.size()) return std::nullopt;
  const double v = convert(text);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

double lenientNumber(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  const std::size_t n = numberPrefix(text);
  if (n == 0) return 0.0;
  const double v = convert(text.substr(0, n));
  return std::isfinite(v) ? v : 0.0;
}

std::string decimalText(double v) {
  if (v == 0) return "0";  // also turns -0 into "0"
  // Plain digits up to 15 of them before the point, as a clock value is
  // written; only beyond that the exponent form.
  std::array<char, 64> buffer{};
  const auto format = std::fabs(v) < 1e15 ? std::chars_format::fixed : std::chars_format::general;
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, format);
  if (ec != std::errc{}) return "0";
  return std::string(buffer.data(), end);
}

}  // namespace tirpo
