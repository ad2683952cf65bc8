// Setting the time by hand: presses on the face (by mouse, key or assistive
// action) and the run timer's ticks.

#include "clock/geometry.h"
#include "clock/numeric.h"
#include "clock/step_table.h"
#include "clock/stepping.h"
#include "window/failing_statement.h"
#include "window/form88.h"

namespace tirpo {

namespace {

void fillIfEmpty(Label& label) {
  if (label.caption().empty()) label.setCaption("0");
}

// One unit up (left button) or down (right button), never below 0.
void stepUnit(Label& label, int button) {
  if (button == kLeftButton) {
    setCaptionOrSkip(label, stepped(label.caption(), 1));
  } else if (button == kRightButton) {
    if (operandValue(label.caption()) == 0.0)
      label.setCaption("0");
    else
      setCaptionOrSkip(label, stepped(label.caption(), -1));
  }
}

}  // namespace

void Form88::Form_MouseDown(int button, int shift, float /*x*/, float /*y*/) {
  if (button == kLeftButton)
    StepForward(shift);
  else if (button == kRightButton)
    StepBack(shift);
  else
    pressFace(button);
}

// The shift keys and the position take no part in a press.
void Form88::StepForward(int /*shift*/) { pressFace(kLeftButton); }
void Form88::StepBack(int /*shift*/) { pressFace(kRightButton); }

void Form88::pressFace(int button) {
  const FaceMode mode = faceMode();
  if (mode == FaceMode::LiveClock) return;  // the live clock ignores presses
  if (mode == FaceMode::StartUp) {
    Timer1.setEnabled(False);
    if (Check2.value() == 0) {
      stepUnit(Label2, button);
      placeHand(Byou, kSecondHandFactor, 6 * lenientNumber(Label2.caption()));
      if (const auto hour = toInt32(lenientNumber(Label2.caption())))
        state.minutePos = static_cast<float>((*hour % 60) / 60.0 + lenientNumber(Label1.caption()));
    } else {
      stepUnit(Label1, button);
    }
  } else {
    Timer1.setEnabled(False);
    if (button == kLeftButton || button == kRightButton) Timer4.setEnabled(Timer4.enabled() == False ? True : False);
    if (button == kLeftButton) {
      state.runForward = True;
      state.runBackward = False;
    } else if (button == kRightButton) {
      state.runBackward = True;
      state.runForward = False;
    }
  }

  if (Combo1.text() != kAutoText) {
    fillIfEmpty(Label2);
    fillIfEmpty(Label1);
    if (const auto step = stepAt(state.stepIndex)) {
      Timer4.setInterval(step->intervalMs);
      if (state.runForward == True) setCaptionOrSkip(Label1, stepped(Label1.caption(), step->minutes));
      if (state.runBackward == True) setCaptionOrSkip(Label1, stepped(Label1.caption(), -step->minutes));
    }
  }

  // From here a statement that cannot be carried out is skipped.
  setCaptionOrSkip(Label2, wholeHoursText(Label1.caption()));
  placeHandsFromMinutes();
  setCaptionOrSkip(Label2, pressHourText(Label2.caption()));
}

void Form88::placeHandsFromMinutes() {
  const double minutes = lenientNumber(Label1.caption());
  placeHand(Hun, kMinuteHandFactor, 6 * minutes);
  placeHand(Ji, kHourHandFactor, (6.0 / 12.0) * minutes);
}

void Form88::Timer4_Timer() {
  fillIfEmpty(Label2);
  fillIfEmpty(Label1);
  if (Combo1.text() == kAutoText) {
    Timer4.setInterval(100);
    if (state.runForward == True) setCaptionOrSkip(Label1, stepped(Label1.caption(), 1));
    if (state.runBackward == True) setCaptionOrSkip(Label1, stepped(Label1.caption(), -1));
  }
  setCaptionOrSkip(Label2, wholeHoursText(Label1.caption()));
  placeHandsFromMinutes();
  setCaptionOrSkip(Label2, tickHourText(Label2.caption()));
}

}  // namespace tirpo
