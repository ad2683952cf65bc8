#pragma once
// Number rules of the clock: the angle conversion, rounding, and the two ways
// a clock value held as caption text is read back, plus the text it is
// written as.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tirpo {

// Degrees to radians with the clock's own constant 3.14159265, worked in
// double and rounded to float only at the end.
float DegToRad(float deg);

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double v);

// Rounds half to even into a 16- or 32-bit integer; out of range (or not a
// finite number) is a failure.
std::optional<std::int16_t> toInt16(double v);
std::optional<std::int32_t> toInt32(double v);

// Strict reading: the whole text (blanks around it allowed) must be a
// decimal number; empty or anything else fails.
std::optional<double> strictNumber(std::string_view text);

// Lenient reading: the number at the start of the text (blanks skipped),
// 0 when there is none.
double lenientNumber(std::string_view text);

// The shortest decimal text that reads back as v: "15", "0", "-5", "2.5".
std::string decimalText(double v);

// Remainder of a truncating division: the result takes the dividend's sign.
constexpr std::int64_t truncRemainder(std::int64_t a, std::int64_t b) { return a % b; }

}  // namespace tirpo
