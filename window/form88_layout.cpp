// Start-up, the dial layout on every resize, and the two face procedures.

#include <cmath>

#include "clock/face_sizes.h"
#include "clock/geometry.h"
#include "clock/numeric.h"
#include "window/form88.h"

namespace tirpo {

void Form88::Form_Load() {
  state.stepMode = False;
  state.liveClock = False;
  for (int i = 1; i <= kHourNumeralCount; ++i) loadElement(Suuji, i);
  static_assert(kDotCount == kMinuteNumeralCount, "one dot under each minute numeral");
  for (int i = 1; i <= kDotCount; ++i) {
    loadElement(dot, i);
    loadElement(Suuji2, i);
  }
  setHeight(kStartSizeTwips);
  setWidth(kStartSizeTwips);
  state.liveClock = False;
  ResetFace();
  // Start-up has no trap; 22 points is a size every font takes, so this
  // never fails.
  for (int i = 1; i <= kHourNumeralCount; ++i) (void)Suuji[i].setFontSize(22);
  for (int i = 1; i <= kMinuteNumeralCount; ++i) Suuji2[i].setVisible(True);
}

void Form88::Form_Resize() {
  Timer4.setEnabled(False);  // a resize ends any run
  state.dialScale = height() / kStartSizeTwips;
  Label7.setCaption("");
  Label8.setCaption("");
  layoutDial();
}

// Lays out the face for the current size. Any step that fails ends the
// layout quietly, leaving what was already placed.
bool Form88::layoutDial() {
  const float s = state.dialScale;
  const float wk = width() / kStartSizeTwips;
  setScale(wk * -1.1, s * 1.1, wk * 1.1, s * -1.1);

  // The splash text, centred, its lower edge half a unit below the centre.
  if (!Label5.setFontSize(s * 4 * 6)) return false;
  Label5.setTop(static_cast<float>(Label5.height() - 0.5));
  Label5.setLeft(-(Label5.width() / 2));

  Command8.setTop(static_cast<float>(s * -0.8));
  Command12.setTop(static_cast<float>(s * -0.8 + Command8.height()));

  state.dialRadius = s * 0.9;
  const double radius = *state.dialRadius;

  for (Line* hand : {&Byou, &Hun, &Ji}) hand->setX1(0);
  for (Line* hand : {&Byou, &Hun, &Ji}) hand->setY1(0);
  ResetFace();

  for (Image* icon : {&Image1, &Image4}) {
    icon->setTop(icon->height() / 2);
    icon->setLeft(-(icon->height() / 2));
  }

  // Labels are centred on their point: Top = y + Height/2, Left = x - Width/2.
  const auto centre = [](Label& l, DialPoint p) { l.centreOn(p.x, p.y); };
  for (int i = 1; i <= kHourNumeralCount; ++i) {
    Label& numeral = Suuji[i];
    if (!numeral.setFontSize((s + s) * 10)) return false;
    numeral.setCaption(decimalText(i));
    centre(numeral, dialPoint(static_cast<float>(i * 30), radius));
  }
  for (int i = 1; i <= kDotCount; ++i) {
    const auto angle = static_cast<float>(i * 6);
    centre(dot[i], dialPoint(angle, radius));
    Label& numeral = Suuji2[i];
    numeral.setCaption(decimalText(i));
    centre(numeral, dialPoint(angle, radius * 1.1));
  }
  Suuji2[kMinuteNumeralCount].setCaption(" 0");

  if (state.liveClock == True || state.stepMode == True) ShowFace();
  return true;
}

void Form88::placeHand(Line& hand, double factor, double angleDeg) {
  const HandEnd end = handEnd(state.radius() * factor, angleDeg);
  hand.setX2(end.x2);
  hand.setY2(end.y2);
}

void Form88::ResetFace() {
  Label1.setCaption("");
  Label2.setCaption("");
  placeHand(Byou, kSecondHandFactor, 0);
  placeHand(Hun, kMinuteHandFactor, 0);
  placeHand(Ji, kHourHandFactor, 0);
  for (int i = 1; i <= kMinuteNumeralCount; ++i) Suuji2[i].setForeColor(kCyan);
  if (state.stepMode == False) Check2.setVisible(False);
  for (int i = 1; i <= kHourNumeralCount; ++i) Suuji[i].setForeColor(kRed);
  for (int i = 1; i <= kDotCount; ++i) dot[i].setForeColor(kYellow);
}

void Form88::ShowFace() {
  for (int i = 1; i <= kDotCount; ++i) dot[i].setVisible(True);
  const float h = height();
  const float w = width();
  const bool large = h > kLargeWindowTwips || w > kLargeWindowTwips;
  for (int i = 1; i <= kMinuteNumeralCount; ++i) Suuji2[i].setVisible(Boolean::of(large));
  // The visible picture offers the opposite of what the numerals now show.
  if (large) {
    Image4.setVisible(True);
    Image1.setVisible(False);
  } else {
    Image1.setVisible(True);
    Image4.setVisible(False);
  }
  for (int i = 1; i <= kHourNumeralCount; ++i) Suuji[i].setVisible(True);
  Label5.setVisible(False);
}

}  // namespace tirpo
