#pragma once
// Shared set-up for the window tests: a loaded clock window on fake services,
// and readings of its face in face units.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "clock/geometry.h"
#include "clock/step_table.h"
#include "support/fakes.h"
#include "window/form88.h"

namespace tirpo {

struct Point {
  double x, y;
};

// Where a label is centred, in face units (Top is its upper edge, y upward).
inline Point centreOf(const Label& l) { return {l.left() + l.width() / 2.0, l.top() - l.height() / 2.0}; }

inline void expectCentre(const Label& l, double x, double y, double tol = 1e-5) {
  const Point p = centreOf(l);
  EXPECT_NEAR(p.x, x, tol) << l.name() << '(' << l.index() << ')';
  EXPECT_NEAR(p.y, y, tol) << l.name() << '(' << l.index() << ')';
}

// A hand drawn from the centre at angleDeg with the given length.
inline void expectHand(const Line& hand, double length, double angleDeg) {
  const HandEnd e = handEnd(length, angleDeg);
  EXPECT_NEAR(hand.x1(), 0.0, 1e-6) << hand.name();
  EXPECT_NEAR(hand.y1(), 0.0, 1e-6) << hand.name();
  EXPECT_NEAR(hand.x2(), e.x2, 1e-6) << hand.name() << " at " << angleDeg;
  EXPECT_NEAR(hand.y2(), e.y2, 1e-6) << hand.name() << " at " << angleDeg;
}

// Minute and hour hands as a manual minute count puts them.
inline void expectManualHands(const Form88& f, double minuteDeg, double hourDeg) {
  expectHand(f.Hun, f.state.radius() * kMinuteHandFactor, minuteDeg);
  expectHand(f.Ji, f.state.radius() * kHourHandFactor, hourDeg);
}

inline std::vector<int> indicesWithColour(const ControlArray<Label>& a, int last, Colour c) {
  std::vector<int> out;
  for (int i = 1; i <= last; ++i)
    if (a[i].foreColor() == c) out.push_back(i);
  return out;
}
inline std::vector<int> yellowNumerals(const Form88& f) { return indicesWithColour(f.Suuji2, 60, kYellow); }
inline std::vector<int> redDots(const Form88& f) { return indicesWithColour(f.dot, 60, kRed); }

inline bool allVisible(const ControlArray<Label>& a, int last, bool v) {
  for (int i = 1; i <= last; ++i)
    if (a[i].visible() != v) return false;
  return true;
}

// Everything a user or a handler can observe, as text, for before/after
// comparisons with a readable difference.
inline std::string snapshot(const Form88& f) {
  std::ostringstream s;
  s << "title=" << f.caption() << " back=" << f.backColor() << " size=" << f.width() << 'x' << f.height()
    << "\nflags live=" << f.state.liveClock << " step=" << f.state.stepMode << " fwd=" << f.state.runForward
    << " bwd=" << f.state.runBackward << " index=" << f.state.stepIndex << " minutePos=" << f.state.minutePos
    << "\ntimers t1=" << f.Timer1.enabled() << '/' << f.Timer1.interval() << " t4=" << f.Timer4.enabled() << '/'
    << f.Timer4.interval() << "\nbuttons c8=" << f.Command8.backColor() << " c12=" << f.Command12.backColor()
    << " frame=" << f.Frame1.backColor() << " check2=" << f.Check2.backColor() << '/' << f.Check2.visible()
    << "\ncombo=" << f.Combo1.text() << '/' << f.Combo1.visible() << '/' << f.Combo1.listIndex();
  for (int i = 0; i <= 2; ++i)
    s << "\ncheck3(" << i << ")=" << f.Check3[i].value() << '/' << f.Check3[i].enabled() << '/'
      << f.Check3[i].backColor();
  for (const Label* l : {&f.Label1, &f.Label2, &f.Label7, &f.Label8, &f.Label5})
    s << '\n' << l->name() << "=\"" << l->caption() << "\" " << l->visible();
  for (const Line* h : {&f.Byou, &f.Hun, &f.Ji})
    s << '\n' << h->name() << ' ' << h->visible() << ' ' << h->borderColor() << " (" << h->x2() << ',' << h->y2() << ')';
  s << "\nimages " << f.Image1.visible() << f.Image4.visible();
  for (const auto* a : {&f.dot, &f.Suuji2, &f.Suuji}) {
    const int last = a == &f.Suuji ? 12 : 60;
    s << '\n' << (*a)[0].name() << ':';
    for (int i = 1; i <= last; ++i) {
      const Label& l = (*a)[i];
      s << ' ' << l.foreColor() << (l.visible() ? "+" : "-") << l.twips().left << ',' << l.twips().top;
    }
  }
  return s.str();
}

// A window created and loaded on fake services.
class LoadedForm : public ::testing::Test {
 protected:
  void SetUp() override { f.Form_Load(); }

  // Switches to the manual clock, with the list item at listIndex picked
  // (none for -1, leaving "AUTO").
  void manual(int listIndex = -1) {
    f.Command12_Click();
    if (listIndex >= 0) f.Combo1.pick(listIndex);
  }
  void live(int h, int m, int s) {
    f.Command8_Click();
    clock.set(h, m, s);
    f.Timer1_Timer();
  }
  void press(int button) { f.Form_MouseDown(button, 0, 0, 0); }
  void setMinutes(const char* label1, const char* label2) {
    f.Label1.setCaption(label1);
    f.Label2.setCaption(label2);
  }

  fakes::FakeMeasurer measurer;
  fakes::FakeClock clock;
  Form88 f{measurer, clock};
};

}  // namespace tirpo
