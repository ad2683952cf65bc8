#pragma once
// What the clock must show, worked out in the tests from the clock's rules
// as they read in words, without calling the program: the steps of the step
// list and the titles they bring, where a hand ends for an angle, which
// minute numeral and which hour dots light up, and the arithmetic of whole
// numbers on a clock face. The tests compare the program against these.

#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirpo::rules {

// --- the step list -----------------------------------------------------------

// One entry of the step list: its text, the minutes a press moves, the run
// timer's interval it sets, and how the title names the amount.
struct StepRow {
  const char* item;
  int minutes;
  int intervalMs;
  const char* amount;
};

inline constexpr StepRow kStepRows[] = {
    {"1", 1, 100, "1分"},     {"5", 5, 1000, "5分"},    {"10", 10, 1000, "10分"},
    {"15", 15, 1000, "15分"}, {"30", 30, 1000, "30分"}, {"60", 60, 1000, "1時間"},
};
inline constexpr std::size_t kStepCount = std::size(kStepRows);

inline constexpr const char* kAutoItem = "AUTO";
inline constexpr const char* kClockTitleText = "tirpoアナログ時計";
inline constexpr const char* kManualTitleHead = "tirpoアナログ手動時計【今何時】・・・左クッリクで";
inline const std::string kAutoTitleText =
    std::string(kManualTitleHead) + "自動前進左クッリクで停止。右クッリクで自動後退右クリックで停止。";

// The title that explains a step: "…左クッリクで5分前進。右クッリクで5分後退。"
inline std::string stepTitle(const StepRow& step) {
  return std::string(kManualTitleHead) + step.amount + "前進。右クッリクで" + step.amount + "後退。";
}

inline std::vector<std::string> stepItems() {
  std::vector<std::string> items;
  for (const StepRow& s : kStepRows) items.emplace_back(s.item);
  return items;
}

// --- angles and hands ----------------------------------------------------------

inline constexpr double kPi = 3.14159265358979323846;
// The clock turns degrees into radians with its own, shorter constant.
inline constexpr double kClockPi = 3.14159265;

// Hand lengths as fractions of the dial radius: second, minute, hour.
inline constexpr double kSecondHand = 1.0;
inline constexpr double kMinuteHand = 0.9;
inline constexpr double kHourHand = 0.6;

// The radians of an angle in degrees as the clock works them (deg / 180 x
// its pi, in double), before any rounding to float.
inline double clockRadians(double deg) { return deg / 180.0 * kClockPi; }

// Where a hand of the given length ends at angleDeg, clockwise from 12 with
// y upward: the angle is held as a float, its radians are rounded to float,
// and each coordinate of the end point is stored as a float.
struct End {
  double x, y;
};
inline End handEndAt(double length, double angleDeg) {
  const double rad = static_cast<float>(clockRadians(static_cast<float>(angleDeg)));
  return {static_cast<float>(length * std::sin(rad)), static_cast<float>(length * std::cos(rad))};
}

// The hands of the live clock at a time of day, in degrees, never reduced
// modulo 360: 6 a second, 6 a minute of the minute count (held as a float)
// and 30 an hour.
struct LiveAngles {
  double second, minute, hour;
};
inline LiveAngles liveAnglesAt(int hour, int minute, int second) {
  const int s = (hour * 60 + minute) * 60 + second;
  const auto minutes = static_cast<float>(s / 60.0);
  return {6.0 * s, static_cast<float>(minutes * 6.0f), 30.0 * (minutes / 60.0)};
}

// v reduced into (-pi, pi].
inline double wrapPi(double v) {
  v = std::fmod(v, 2 * kPi);
  if (v > kPi) v -= 2 * kPi;
  if (v <= -kPi) v += 2 * kPi;
  return v;
}

// Half the distance to the next float above |v|: the largest error of
// rounding v to float.
inline double halfFloatStep(double v) {
  const float f = static_cast<float>(std::fabs(v));
  return (static_cast<double>(std::nextafter(f, std::numeric_limits<float>::infinity())) - f) / 2.0;
}

// --- whole numbers on the face -------------------------------------------------

inline long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
inline int floorMod(long long a, int m) { return static_cast<int>(((a % m) + m) % m); }

// The minute numeral lit for a minute count: numeral 60 (" 0") stands at the
// top, where the count is a whole number of hours.
inline int numeralFor(long long minutes) {
  const int m = floorMod(minutes, 60);
  return m == 0 ? 60 : m;
}

// The five dots of an hour's sector, in ascending order; dot 60 stands for
// the dot at the top (0).
inline std::vector<int> sectorFor(long long hour) {
  const int first = floorMod(hour, 12) * 5;
  std::vector<int> dots;
  for (int j = 1; j < 5; ++j) dots.push_back(first + j);
  if (first == 0)
    dots.push_back(60);
  else
    dots.insert(dots.begin(), first);
  return dots;
}

// The time a manual minute count shows: hour 1..12 and minute 0..59.
struct HourMinute {
  int hour, minute;
};
inline HourMinute shownFor(long long minutes) {
  const int m = floorMod(minutes, 720);
  return {m / 60 == 0 ? 12 : m / 60, m % 60};
}

// A clock value as the program writes it: a whole number without leading
// zeros, blanks or a plus sign ("0", "15", "-5"), never "-0".
inline bool isWholeNumberText(const std::string& s) {
  std::size_t i = s.empty() || s[0] != '-' ? 0 : 1;
  if (i == s.size()) return false;
  if (s[i] == '0') return s.size() == i + 1 && i == 0;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return s.size() <= 19;
}

// The value of a clock value caption; none for "".
inline std::optional<long long> wholeNumber(const std::string& s) {
  if (s.empty()) return std::nullopt;
  return std::stoll(s);
}

inline std::string listText(const std::vector<int>& v) {
  std::string s = "{";
  for (int i : v) s += (s.size() > 1 ? "," : "") + std::to_string(i);
  return s + "}";
}

}  // namespace tirpo::rules
