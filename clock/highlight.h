#pragma once
// Which minute numeral and which hour dots light up for a clock value.
// Numerals and dots are numbered 1..60 clockwise from one past the top; the
// element at the top is number 60.

#include <array>
#include <optional>
#include <string_view>

namespace tirpo {

// The minute numeral for a minute count held as caption text: the count is
// read strictly, rounded half to even, and taken modulo 60, so 65 lights 5,
// -5 lights 55 and 0 or 60 light the " 0" at the top (60). None for an empty
// or non-numeric caption.
std::optional<int> minuteNumeralFor(std::string_view caption);

// The five dots of the hour's sector, from its hour mark on: the hour is read
// leniently (empty counts as 0), rounded half to even and reduced modulo 12,
// so "-1" and "11" give 55..59 and "0", "12" and "" give 60, 1, 2, 3, 4.
std::array<int, 5> hourSectorDots(std::string_view caption);

}  // namespace tirpo
