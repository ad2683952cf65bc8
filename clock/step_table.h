#pragma once
// The steps of the step list, the run interval each one sets, and the help
// texts the window title shows for them.

#include <array>
#include <optional>
#include <string_view>

namespace tirpo {

struct Step {
  std::string_view item;   // text of the list item
  int intervalMs;          // run timer interval the step sets
  int minutes;             // minutes moved by one press
  std::string_view title;  // window title that explains the step
};

inline constexpr std::array<Step, 6> kSteps{{
    {"1", 100, 1, "tirpoアナログ手動時計【今何時】・・・左クッリクで1分前進。右クッリクで1分後退。"},
    {"5", 1000, 5, "tirpoアナログ手動時計【今何時】・・・左クッリクで5分前進。右クッリクで5分後退。"},
    {"10", 1000, 10, "tirpoアナログ手動時計【今何時】・・・左クッリクで10分前進。右クッリクで10分後退。"},
    {"15", 1000, 15, "tirpoアナログ手動時計【今何時】・・・左クッリクで15分前進。右クッリクで15分後退。"},
    {"30", 1000, 30, "tirpoアナログ手動時計【今何時】・・・左クッリクで30分前進。右クッリクで30分後退。"},
    {"60", 1000, 60, "tirpoアナログ手動時計【今何時】・・・左クッリクで1時間前進。右クッリクで1時間後退。"},
}};

inline constexpr std::string_view kAutoText = "AUTO";
inline constexpr std::string_view kClockTitle = "tirpoアナログ時計";
inline constexpr std::string_view kAutoTitle =
    "tirpoアナログ手動時計【今何時】・・・左クッリクで自動前進左クッリクで停止。右クッリクで自動後退右クリックで停止。";

// The step at a list position; none for any value that is not exactly 0..5.
std::optional<Step> stepAt(float stepIndex);

// The title for a step text, compared exactly; none for any other text.
std::optional<std::string_view> helpTitleFor(std::string_view text);

}  // namespace tirpo
