#pragma once
// The clock as assistive technology meets it, whatever toolkit shows it:
// what the face and the step list are called and say, which mode is on and
// how a change of mode is told, when the face's step actions are offered,
// and the range of the face's value.
//
// The face's value is the time its hands show in minutes (hour × 60 +
// minute). By hand the hours run 1..12, so the value lies in 60..779; the
// live clock reads the computer's hours 0..23, so 0..1439. A value written
// by an assistive tool is refused (the value is read-only): the child sets
// the time press by press, a written time is in general not reachable with
// the step picked (60-minute steps from 12 o'clock never reach 12:07, AUTO
// has no step at all, the live clock follows the computer), and stepping
// there would bury the voice in one reading per step.

#include <optional>
#include <string>
#include <string_view>

namespace tirpo {

class Form88;
class PushButton;

enum class ClockMode { None, Live, Manual };

// The mode the window is in: by hand once 今何時 is pressed, the live clock
// while 時計 is the yellow button, none before either button.
ClockMode modeOf(const Form88& f);

// A mode button is on while it is the yellow one.
bool modeButtonOn(const PushButton& button);

// The face: its name says what it is; its value text is the time shown
// ("3時15分", or that it shows none: a screen reader would read out a bare
// value of 0 for an empty text); its description says what to do with it,
// before any mode what to press first.
inline constexpr std::string_view kFaceName = "時計の文字盤";
inline constexpr std::string_view kNoTimeText = "時刻なし";
std::string faceValueText(const Form88& f);
std::string faceDescription(const Form88& f);

// The face's step actions are offered only while a step can change what it
// shows: by hand. Before a mode a press moves nothing that is shown, and the
// live clock ignores presses.
bool faceStepsOffered(const Form88& f);

struct ValueRange {
  int minimum;
  int maximum;
};
// The time shown in minutes, and the range that value keeps to in the mode
// the window is in; none while the face shows no time or no mode is on.
std::optional<int> faceValue(const Form88& f);
std::optional<ValueRange> faceValueRange(const Form88& f);

// What is told when a mode button has been pressed: its caption and what
// the face now does; none before any mode.
std::optional<std::string> modeAnnouncement(const Form88& f);

// The step list: a name and a description that say what it chooses.
inline constexpr std::string_view kStepListName = "1回で動かす時間（分）";
inline constexpr std::string_view kStepListDescription =
    "文字盤を1回押すと時刻が何分動くかを選びます。AUTOでは押すと時計が自動で動き、もう一度押すと止まります。";

}  // namespace tirpo
