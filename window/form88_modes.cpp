// The live clock, the two mode buttons and the step list.

#include "clock/face_sizes.h"
#include "clock/geometry.h"
#include "clock/live_time.h"
#include "clock/numeric.h"
#include "clock/step_table.h"
#include "window/form88.h"

namespace tirpo {

FaceMode Form88::faceMode() const {
  if (state.stepMode == True) return FaceMode::Manual;
  if (Command8.backColor() == kYellow) return FaceMode::LiveClock;
  return FaceMode::StartUp;
}

void Form88::Timer1_Timer() {
  if (state.liveClock == True) ShowSystemTime();
}

void Form88::ShowSystemTime() {
  // Hands and labels come from one reading, so they never disagree.
  const LiveReading r = readLive(clock_.now());
  state.daySeconds = r.daySeconds;
  state.minutePos = r.minutePos;
  state.hourValue = r.hourValue;
  placeHand(Byou, kSecondHandFactor, r.secondAngle);
  placeHand(Hun, kMinuteHandFactor, r.minuteAngle);
  placeHand(Ji, kHourHandFactor, r.hourAngle);
  Label7.setCaption(decimalText(r.hour));
  Label8.setCaption(decimalText(r.minute));
}

void Form88::Command8_Click() {
  Label7.setCaption("");
  Label8.setCaption("");
  Hun.setBorderColor(kCyan);
  setCaption(kClockTitle);
  state.stepMode = False;
  state.liveClock = True;
  for (int i = 1; i <= kHourNumeralCount; ++i) Suuji[i].setForeColor(kRed);
  for (int i = 1; i <= kDotCount; ++i) dot[i].setForeColor(kYellow);
  for (int i = 1; i <= kMinuteNumeralCount; ++i) Suuji2[i].setForeColor(kCyan);
  Timer4.setEnabled(False);
  Image1.setEnabled(True);
  Command8.setBackColor(kYellow);
  Command12.setBackColor(kSystemButtonFace);
  Ji.setVisible(True);
  Hun.setVisible(True);
  Timer1.setEnabled(True);
  setBackColor(kDarkGreen);
  ShowFace();
  Combo1.setVisible(False);
  Combo1.setText(std::string(kAutoText));
  for (int i = 0; i < kHandBoxCount; ++i) Check3[i].setBackColor(backColor());
  Frame1.setBackColor(backColor());
  Check3[2].setEnabled(True);
  Check3[2].setValue(0);
}

void Form88::Command12_Click() {
  Label7.setCaption("");
  state.stepMode = True;
  Timer1.setEnabled(False);
  if (!Label1.caption().empty()) {
    Label1.setCaption("");
    Label2.setCaption("");
  }
  Combo1.setVisible(True);
  Command8.setBackColor(kLightGrey);
  Command12.setBackColor(kYellow);
  placeHand(Byou, kSecondHandFactor, 0);
  if (Combo1.text() == kAutoText) setCaption(kAutoTitle);
  placeHand(Hun, kMinuteHandFactor, 0);
  placeHand(Ji, kHourHandFactor, 0);
  for (int i = 1; i <= kHourNumeralCount; ++i) Suuji[i].setForeColor(kRed);
  for (int i = 1; i <= kMinuteNumeralCount; ++i) {
    Suuji2[i].setForeColor(kGreen);
    dot[i].setForeColor(kYellow);
  }
  setBackColor(kGrey);
  Ji.setVisible(True);
  Hun.setVisible(True);
  for (int i = 1; i <= kDotCount; ++i) dot[i].setVisible(True);
  for (int i = 1; i <= kHourNumeralCount; ++i) Suuji[i].setVisible(True);
  Check3[2].setEnabled(False);
  Check3[2].setValue(0);
  Label5.setVisible(False);
  for (int i = 0; i < kHandBoxCount; ++i) Check3[i].setBackColor(backColor());
  Frame1.setBackColor(backColor());
  Check2.setBackColor(backColor());
  Hun.setBorderColor(kGreen);
}

void Form88::Combo1_Click() {
  state.stepIndex = static_cast<float>(Combo1.listIndex());
  ShowStepHelp();
}

void Form88::ShowStepHelp() {
  if (const auto title = helpTitleFor(Combo1.text())) setCaption(*title);
}

}  // namespace tirpo
