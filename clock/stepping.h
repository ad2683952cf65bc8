#pragma once
// Arithmetic of the manual clock. The minute count and the hour are kept as
// caption text; these rules read them, step them and write them back.

#include <optional>
#include <string>
#include <string_view>

namespace tirpo {

// A caption read as a stepping operand: empty counts as 0, other text must be
// a number.
std::optional<double> operandValue(std::string_view caption);

// caption + delta as caption text (empty counts as 0); none when the caption
// holds no number.
std::optional<std::string> stepped(std::string_view caption, double delta);

// The whole hours of a minute count: floor(minutes / 60), so -5 gives "-1".
// None when the caption is empty or not a number.
std::optional<std::string> wholeHoursText(std::string_view minutesCaption);

// Hour reduced after a press: whole number, remainder 12 with the dividend's
// sign ("13" -> "1", "-1" stays "-1"). None when empty, not a number or too
// large for a 32-bit whole number.
std::optional<std::string> pressHourText(std::string_view hourCaption);

// Hour reduced after a run tick: as after a press, then 12 added when the
// hour was below 0 ("-1" -> "11", "-12" -> "12").
std::optional<std::string> tickHourText(std::string_view hourCaption);

}  // namespace tirpo
