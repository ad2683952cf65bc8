// One press, three ways in: a mouse press on the bare face, an arrow key on
// the focused face and an assistive tool's step action must leave the window
// in the same state, in every mode. A held key repeats its press except
// while the step list shows "AUTO".

#include "support/loaded_form.h"

namespace tirpo {
namespace {

enum class Mode { BeforeAnyButton, Live, ManualAuto, Manual1, Manual5, Manual60 };

// One window, brought into a mode.
struct Window : OwnForm {
  explicit Window(Mode mode) {
    clock.set(9, 41, 0);
    switch (mode) {
      case Mode::BeforeAnyButton:
        break;
      case Mode::Live:
        f.Command8_Click();
        f.Timer1_Timer();
        break;
      case Mode::ManualAuto:
        f.Command12_Click();
        break;
      case Mode::Manual1:
      case Mode::Manual5:
      case Mode::Manual60:
        f.Command12_Click();
        f.Combo1.pick(mode == Mode::Manual1 ? 0 : mode == Mode::Manual5 ? 1 : 5);
        break;
    }
  }
};

// A sequence is written as keys: R, U (forward) and L, D (back); a "+"
// after a key marks it as the toolkit's auto-repeat of a held key.
struct KeyPress {
  int key;
  bool repeat;
};
std::vector<KeyPress> keysOf(std::string_view seq) {
  std::vector<KeyPress> out;
  for (char c : seq) {
    if (c == '+') {
      out.back().repeat = true;
      continue;
    }
    out.push_back({c == 'R' ? kKeyRight : c == 'U' ? kKeyUp : c == 'L' ? kKeyLeft : kKeyDown, false});
  }
  return out;
}
bool isForward(char c) { return c == 'R' || c == 'U'; }

TEST(InputWays, MouseKeysAndActionsAgree) {
  const struct {
    const char* name;
    Mode mode;
    const char* keys;     // what the keyboard user does
    const char* presses;  // the presses that count, as the mouse and the actions give them
    const char* minutes;  // Label1 afterwards
    bool running;         // Timer4 afterwards
  } cases[] = {
      {"before any button: hour counter", Mode::BeforeAnyButton, "RRUL", "RRUL", "", false},
      {"before any button: held key repeats", Mode::BeforeAnyButton, "R+R+R+", "RRR", "", false},
      {"live clock ignores all", Mode::Live, "RLUD+", "RLUD", "", false},
      {"AUTO: start forward", Mode::ManualAuto, "R", "R", "", true},
      {"AUTO: held key starts once", Mode::ManualAuto, "RR+R+R+", "R", "", true},
      {"AUTO: start and stop", Mode::ManualAuto, "RR+R", "RR", "", false},
      {"AUTO: turn round", Mode::ManualAuto, "ULL+L+D", "ULD", "", true},
      {"1 minute: held key repeats", Mode::Manual1, "R+R+R+R+", "RRRR", "4", false},
      {"5 minutes: three forward, one back", Mode::Manual5, "RRRL", "RRRL", "10", false},
      {"5 minutes: Up and Down", Mode::Manual5, "UUD+D+D+", "UUDDD", "-5", true},
      {"60 minutes past 12", Mode::Manual60, "R+R+R+R+R+R+R+R+R+R+R+R+R+", "RRRRRRRRRRRRR", "780", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Window mouse(c.mode), keys(c.mode), action(c.mode);
    for (char p : std::string_view(c.presses)) {
      mouse.f.Form_MouseDown(isForward(p) ? kLeftButton : kRightButton, 0, 0, 0);
      if (isForward(p))
        action.f.StepForward(0);
      else
        action.f.StepBack(0);
    }
    for (const KeyPress& k : keysOf(c.keys)) EXPECT_TRUE(keys.f.Face_KeyDown(k.key, 0, k.repeat));

    EXPECT_EQ(keys.f.Label1.caption(), c.minutes);
    EXPECT_EQ(keys.f.Timer4.enabled(), Boolean::of(c.running));
    EXPECT_EQ(snapshot(keys.f), snapshot(mouse.f));
    EXPECT_EQ(snapshot(action.f), snapshot(mouse.f));
  }
}

// The press a key makes is the mouse press of its direction, with the same
// shift keys; the face's keys are only the four arrows.
TEST(InputWays, OnlyArrowKeysPress) {
  Window w(Mode::Manual5);
  const Snapshot before = snapshot(w.f);
  for (int key : {0, 13, 32, 33, 34, 36, 41, 65}) EXPECT_FALSE(w.f.Face_KeyDown(key, 0, false)) << key;
  EXPECT_EQ(snapshot(w.f), before);
  EXPECT_TRUE(w.f.Face_KeyDown(kKeyRight, kShiftKey | kCtrlKey | kAltKey, false));
  EXPECT_EQ(w.f.Label1.caption(), "5");
}

}  // namespace
}  // namespace tirpo
