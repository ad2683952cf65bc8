#include "window/accessible_clock.h"

#include "clock/colours.h"
#include "clock/step_table.h"
#include "window/form88.h"

namespace tirpo {

namespace {

constexpr ValueRange kManualRange{60, 12 * 60 + 59};
constexpr ValueRange kLiveRange{0, 24 * 60 - 1};

// How far one press moves the time, said in words ("5分", "1時間").
std::string stepWords(int minutes) {
  if (minutes % 60 == 0) return std::to_string(minutes / 60) + "時間";
  return std::to_string(minutes) + "分";
}

}  // namespace

ClockMode modeOf(const Form88& f) {
  if (f.state.stepMode) return ClockMode::Manual;
  if (f.Command8.backColor() == kYellow) return ClockMode::Live;
  return ClockMode::None;
}

bool modeButtonOn(const PushButton& button) { return button.backColor() == kYellow; }

std::string faceValueText(const Form88& f) {
  const auto shown = f.timeShown();
  return shown ? timeText(*shown) : std::string(kNoTimeText);
}

std::string faceDescription(const Form88& f) {
  switch (modeOf(f)) {
    case ClockMode::None:
      return "先に「時計」か「今何時」のボタンを押してください。";
    case ClockMode::Live:
      return "パソコンの時刻を表示しています。";
    case ClockMode::Manual:
      break;
  }
  if (f.Combo1.text() == kAutoText)
    return "右か上の矢印で自動で進み、左か下の矢印で自動で戻ります。もう一度押すと止まります。";
  if (const auto step = stepAt(f.state.stepIndex)) {
    const std::string by = stepWords(step->minutes);
    return "右か上の矢印で" + by + "進み、左か下の矢印で" + by + "戻ります。";
  }
  return "右か上の矢印で進み、左か下の矢印で戻ります。";
}

bool faceStepsOffered(const Form88& f) { return modeOf(f) == ClockMode::Manual; }

std::optional<int> faceValue(const Form88& f) {
  if (modeOf(f) == ClockMode::None) return std::nullopt;
  const auto shown = f.timeShown();
  if (!shown) return std::nullopt;
  return shown->hour * 60 + shown->minute;
}

std::optional<ValueRange> faceValueRange(const Form88& f) {
  if (!faceValue(f)) return std::nullopt;
  return modeOf(f) == ClockMode::Manual ? kManualRange : kLiveRange;
}

std::optional<std::string> modeAnnouncement(const Form88& f) {
  switch (modeOf(f)) {
    case ClockMode::Live:
      return "時計。文字盤はいまの時刻を表示します。";
    case ClockMode::Manual:
      return "今何時。文字盤の時刻を矢印キーで合わせます。";
    case ClockMode::None:
      break;
  }
  return std::nullopt;
}

}  // namespace tirpo
