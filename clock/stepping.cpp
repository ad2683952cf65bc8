#include "clock/stepping.h"

#include <cmath>

#include "clock/numeric.h"

namespace tirpo {

std::optional<double> operandValue(std::string_view caption) {
  if (caption.empty()) return 0.0;
  return strictNumber(caption);
}

std::optional<std::string> stepped(std::string_view caption, double delta) {
  const auto v = operandValue(caption);
  if (!v) return std::nullopt;
  return decimalText(*v + delta);
}

std::optional<std::string> wholeHoursText(std::string_view minutesCaption) {
  const auto v = strictNumber(minutesCaption);
  if (!v) return std::nullopt;
  return decimalText(std::floor(*v / 60.0));
}

namespace {

std::optional<std::int32_t> hourRemainder(std::string_view hourCaption) {
  const auto v = strictNumber(hourCaption);
  if (!v) return std::nullopt;
  const auto whole = toInt32(*v);
  if (!whole) return std::nullopt;
  return static_cast<std::int32_t>(truncRemainder(*whole, 12));
}

}  // namespace

std::optional<std::string> pressHourText(std::string_view hourCaption) {
  const auto r = hourRemainder(hourCaption);
  if (!r) return std::nullopt;
  return decimalText(*r);
}

std::optional<std::string> tickHourText(std::string_view hourCaption) {
  const auto v = strictNumber(hourCaption);
  const auto r = hourRemainder(hourCaption);
  if (!v || !r) return std::nullopt;
  return decimalText(*v < 0 ? *r + 12 : *r);
}

}  // namespace tirpo
