// Hand visibility, the highlights that follow the clock values, and the two
// pictures that show and hide the minute numerals.

#include <algorithm>
#include <array>
#include <span>

#include "clock/face_sizes.h"
#include "clock/highlight.h"
#include "clock/numeric.h"
#include "window/failing_statement.h"
#include "window/form88.h"

namespace tirpo {

void Form88::Check3_Click(int /*index*/) {
  Ji.setVisible(Boolean::of(Check3[0].value() == 1));
  Hun.setVisible(Boolean::of(Check3[1].value() == 1));
  Byou.setVisible(Boolean::of(Check3[2].value() == 1));
}

namespace {

// Whether elements 1..count already show base with only the marked ones in
// the highlight colour: then colouring them again would leave each one as it
// is.
bool alreadyShows(const ControlArray<Label>& array, int count, Colour base, std::span<const int> marked,
                  Colour highlight) {
  const auto isMarked = [&](int i) { return std::find(marked.begin(), marked.end(), i) != marked.end(); };
  for (int i = 1; i <= count; ++i)
    if (array[i].foreColor() != (isMarked(i) ? highlight : base)) return false;
  return true;
}

}  // namespace

// A highlight handler colours all sixty elements and then the matching ones.
// The result depends only on the caption, so when the elements already show
// it (the hour is written twice in an AUTO tick, the live clock writes the
// same minute sixty times) the colouring is skipped: nothing would change.
void Form88::highlightMinute(const Label& source, Colour base) {
  const auto n = minuteNumeralFor(source.caption());
  const std::array<int, 1> marked{n && Suuji2.at(*n) ? *n : 0};
  if (alreadyShows(Suuji2, kMinuteNumeralCount, base, marked, kYellow)) return;
  for (int i = 1; i <= kMinuteNumeralCount; ++i) Suuji2[i].setForeColor(base);
  // From here a statement that cannot be carried out is skipped.
  skipIfFailed(n, [&](int i) { skipIfFailed(Suuji2.at(i), [](Label& numeral) { numeral.setForeColor(kYellow); }); });
}

void Form88::highlightHourSector(const Label& source) {
  const std::array<int, 5> dots = hourSectorDots(source.caption());
  if (alreadyShows(dot, kDotCount, kYellow, dots, kRed)) return;
  for (int i = 1; i <= kDotCount; ++i) dot[i].setForeColor(kYellow);
  for (int d : dots) skipIfFailed(dot.at(d), [](Label& mark) { mark.setForeColor(kRed); });
}

void Form88::Label1_Change() { highlightMinute(Label1, kGreen); }
void Form88::Label8_Change() { highlightMinute(Label8, kCyan); }
void Form88::Label2_Change() { highlightHourSector(Label2); }
void Form88::Label7_Change() { highlightHourSector(Label7); }

void Form88::Image1_Click() {
  if (!Image1.visible()) return;
  for (int i = 1; i <= kMinuteNumeralCount; ++i) Suuji2[i].setVisible(True);
  Image4.setVisible(True);
  Image1.setVisible(False);
}

void Form88::Image4_Click() {
  if (!Image4.visible()) return;
  for (int i = 1; i <= kMinuteNumeralCount; ++i) Suuji2[i].setVisible(False);
  Image1.setVisible(True);
  Image4.setVisible(False);
}

std::optional<ShownTime> Form88::timeShown() const {
  if (state.stepMode == True) return manualTimeFor(Label1.caption());
  if (state.liveClock == True) {
    const auto hour = strictNumber(Label7.caption());
    const auto minute = strictNumber(Label8.caption());
    if (hour && minute) return ShownTime{static_cast<int>(*hour), static_cast<int>(*minute)};
  }
  return std::nullopt;
}

}  // namespace tirpo
