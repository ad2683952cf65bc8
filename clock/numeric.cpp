#include "clock/numeric.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

// The C library's number conversions follow LC_NUMERIC, which a toolkit may
// set from the user's environment; clock values always use '.'.
char localePoint() {
  const char* point = std::localeconv()->decimal_point;
  return point != nullptr && point[0] != '\0' ? point[0] : '.';
}

// A whole number of at most 15 digits with an optional sign ("15", "-5"),
// the way clock values are written, read exactly without the C library.
std::optional<double> wholeNumber(std::string_view s) {
  const bool negative = !s.empty() && s.front() == '-';
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
  if (s.empty() || s.size() > 15) return std::nullopt;
  std::int64_t n = 0;
  for (const char c : s) {
    if (!isDigit(c)) return std::nullopt;
    n = n * 10 + (c - '0');
  }
  const double v = static_cast<double>(n);
  return negative ? -v : v;  // "-0" reads as -0, as the C library reads it
}

// Converts a text already known to be a number prefix (at most one '.',
// digits, an exponent), correctly rounded by the C library.
double convert(std::string_view s) {
  if (const auto whole = wholeNumber(s)) return *whole;
  std::string buffer(s);
  const char point = localePoint();
  if (point != '.')
    for (char& c : buffer)
      if (c == '.') c = point;
  errno = 0;
  char* end = nullptr;
  double value = std::strtod(buffer.c_str(), &end);
  // strtod gives HUGE_VAL for a number too large; one too small comes back
  // as 0 or a subnormal, both of which are the value to keep.
  if (errno == ERANGE && std::fabs(value) == HUGE_VAL)
    value = std::copysign(std::numeric_limits<double>::infinity(), value);
  return value;
}

// The significant digits and the decimal exponent of the shortest
// scientific text that reads back exactly as v (v finite, not zero).
struct ShortestDigits {
  bool negative = false;
  std::string digits;  // no leading or trailing zeros, at least one digit
  int exponent = 0;    // of the first digit
};

ShortestDigits shortestDigits(double v) {
  ShortestDigits out;
  char text[64];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(text, sizeof text, "%.*e", precision - 1, v);
    if (convert(text) == v) break;
  }
  // text: [-]d[<point>ddd]e[+-]xx
  const char* p = text;
  if (*p == '-') out.negative = true, ++p;
  for (; *p != 'e' && *p != '\0'; ++p)
    if (isDigit(*p)) out.digits += *p;
  if (*p == 'e') out.exponent = std::atoi(p + 1);
  while (out.digits.size() > 1 && out.digits.back() == '0') out.digits.pop_back();
  return out;
}

std::string fixedText(const ShortestDigits& d) {
  std::string s = d.negative ? "-" : "";
  const int n = static_cast<int>(d.digits.size());
  if (d.exponent < 0) {
    s += "0.";
    s.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    s += d.digits;
  } else if (d.exponent + 1 >= n) {
    s += d.digits;
    s.append(static_cast<std::size_t>(d.exponent + 1 - n), '0');
  } else {
    s += d.digits.substr(0, static_cast<std::size_t>(d.exponent + 1));
    s += '.';
    s += d.digits.substr(static_cast<std::size_t>(d.exponent + 1));
  }
  return s;
}

std::string scientificText(const ShortestDigits& d) {
  std::string s = d.negative ? "-" : "";
  s += d.digits[0];
  if (d.digits.size() > 1) {
    s += '.';
    s += d.digits.substr(1);
  }
  char exponent[16];
  std::snprintf(exponent, sizeof exponent, "e%c%02d", d.exponent < 0 ? '-' : '+', std::abs(d.exponent));
  return s + exponent;
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
  if (!std::isfinite(v)) return "0";
  // A whole number below 10^15 is its digits (what the shortest form below
  // would give), written without the C library's formatting.
  if (std::fabs(v) < 1e15 && v == std::trunc(v)) return std::to_string(static_cast<std::int64_t>(v));
  // Plain digits up to 15 of them before the point, as a clock value is
  // written; only beyond that the exponent form.
  // A value so near zero that its plain form would take more than 64
  // characters is written as "0".
  const ShortestDigits digits = shortestDigits(v);
  std::string fixed = fixedText(digits);
  if (std::fabs(v) < 1e15) return fixed.size() <= 64 ? fixed : "0";
  return scientificText(digits);
}

}  // namespace tirpo
