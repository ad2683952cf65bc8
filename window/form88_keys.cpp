// Keys on the face: the arrow keys press it forward and back.

#include "clock/step_table.h"
#include "window/form88.h"

namespace tirpo {

bool Form88::Face_KeyDown(int keyCode, int shift, bool autoRepeat) {
  const bool forward = keyCode == kKeyRight || keyCode == kKeyUp;
  const bool back = keyCode == kKeyLeft || keyCode == kKeyDown;
  if (!forward && !back) return false;
  // A held key would start and stop the run with every repeat.
  if (autoRepeat && Combo1.visible() && Combo1.text() == kAutoText) return true;
  if (forward)
    StepForward(shift);
  else
    StepBack(shift);
  return true;
}

bool Form88::autoRunGoing() const { return state.stepMode == True && Timer4.enabled() && Combo1.text() == kAutoText; }

}  // namespace tirpo
