#include "clock/step_table.h"

namespace tirpo {

std::optional<Step> stepAt(float stepIndex) {
  for (std::size_t i = 0; i < kSteps.size(); ++i)
    if (stepIndex == static_cast<float>(i)) return kSteps[i];
  return std::nullopt;
}

std::optional<std::string_view> helpTitleFor(std::string_view text) {
  for (const Step& s : kSteps)
    if (s.item == text) return s.title;
  return std::nullopt;
}

}  // namespace tirpo
