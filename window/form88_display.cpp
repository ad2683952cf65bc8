// Hand visibility, the highlights that follow the clock values, and the two
// pictures that show and hide the minute numerals.

#include <array>
#include <span>

#include "clock/highlight.h"
#include "clock/numeric.h"
#include "window/form88.h"

namespace tirpo {

void Form88::Check3_Click(int /*index*/) {
  Ji.setVisible(Check3[0].value() == 1);
  Hun.setVisible(Check3[1].value() == 1);
  Byou.setVisible(Check3[2].value() == 1);
}

namespace {

// Whether elements 1..60 already show base with only the marked ones in the
// highlight colour: then colouring them again would leave each one as it is.
bool alreadyShows(const ControlArray<Label>& array, Colour base, std::span<const int> marked, Colour highlight) {
  std::array<bool, 61> lit{};
  for (int m : marked)
    if (m >= 1 && m <= 60) lit[static_cast<std::size_t>(m)] = true;
  for (int i = 1; i <= 60; ++i)
    if (array[i].foreColor() != (lit[static_cast<std::size_t>(i)] ? highlight : base)) return false;
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
  if (alreadyShows(Suuji2, base, marked, kYellow)) return;
  for (int i = 1; i <= 60; ++i) Suuji2[i].setForeColor(base);
  if (n)
    if (Label* numeral = Suuji2.at(*n)) numeral->setForeColor(kYellow);
}

void Form88::highlightHourSector(const Label& source) {
  const std::array<int, 5> dots = hourSectorDots(source.caption());
  if (alreadyShows(dot, kYellow, dots, kRed)) return;
  for (int i = 1; i <= 60; ++i) dot[i].setForeColor(kYellow);
  for (int d : dots)
    if (Label* mark = dot.at(d)) mark->setForeColor(kRed);
}

void Form88::Label1_Change() { highlightMinute(Label1, kGreen); }
void Form88::Label8_Change() { highlightMinute(Label8, kCyan); }
void Form88::Label2_Change() { highlightHourSector(Label2); }
void Form88::Label7_Change() { highlightHourSector(Label7); }

void Form88::Image1_Click() {
  if (!Image1.visible()) return;
  for (int i = 1; i <= 60; ++i) Suuji2[i].setVisible(true);
  Image4.setVisible(true);
  Image1.setVisible(false);
}

void Form88::Image4_Click() {
  if (!Image4.visible()) return;
  for (int i = 1; i <= 60; ++i) Suuji2[i].setVisible(false);
  Image1.setVisible(true);
  Image4.setVisible(false);
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
