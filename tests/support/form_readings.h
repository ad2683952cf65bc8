#pragma once
// Readings of the window model for the tests that run it without a
// toolkit: where a label or a hand stands in face units, which numerals
// and dots are lit, and the whole window as text for before/after
// comparisons. The expectations are the clock's rules from clock_rules.h.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "support/clock_rules.h"
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
  const rules::End e = rules::handEndAt(length, angleDeg);
  EXPECT_NEAR(hand.x1(), 0.0, 1e-6) << hand.name();
  EXPECT_NEAR(hand.y1(), 0.0, 1e-6) << hand.name();
  EXPECT_NEAR(hand.x2(), e.x, 1e-6) << hand.name() << " at " << angleDeg;
  EXPECT_NEAR(hand.y2(), e.y, 1e-6) << hand.name() << " at " << angleDeg;
}

// Minute and hour hands as a manual minute count puts them.
inline void expectManualHands(const Form88& f, double minuteDeg, double hourDeg) {
  expectHand(f.Hun, f.state.radius() * rules::kMinuteHand, minuteDeg);
  expectHand(f.Ji, f.state.radius() * rules::kHourHand, hourDeg);
}

// The direction a hand points, radians clockwise from 12 o'clock, from its
// end point (x = sin, y = cos), and its length.
inline double handAngle(const Line& hand) {
  return std::atan2(static_cast<double>(hand.x2()), static_cast<double>(hand.y2()));
}
inline double handLength(const Line& hand) {
  return std::hypot(static_cast<double>(hand.x2()), static_cast<double>(hand.y2()));
}

// The elements 1..last of an array in colour c.
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

// What the face shows: title, colour and size of the window, the hands, the
// live clock's labels and every numeral and dot with its colour, visibility
// and place.
inline std::string faceSnapshot(const Form88& f) {
  std::ostringstream s;
  s << "title=" << f.caption() << " back=" << f.backColor() << " size=" << f.width() << 'x' << f.height();
  for (const Line* h : {&f.Byou, &f.Hun, &f.Ji})
    s << '\n'
      << h->name() << ' ' << h->visible() << ' ' << h->borderColor() << " (" << h->x1() << ',' << h->y1() << ")-("
      << h->x2() << ',' << h->y2() << ')';
  s << "\nLabel7=" << f.Label7.caption() << " Label8=" << f.Label8.caption();
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

// Everything a user or a handler can observe, as text, for before/after
// comparisons with a readable difference: the face and every other control
// and variable of the window.
inline std::string snapshot(const Form88& f) {
  std::ostringstream s;
  s << faceSnapshot(f) << "\nflags live=" << f.state.liveClock << " step=" << f.state.stepMode
    << " fwd=" << f.state.runForward << " bwd=" << f.state.runBackward << " index=" << f.state.stepIndex
    << " minutePos=" << f.state.minutePos << "\ntimers t1=" << f.Timer1.enabled() << '/' << f.Timer1.interval()
    << " t4=" << f.Timer4.enabled() << '/' << f.Timer4.interval() << "\nbuttons c8=" << f.Command8.backColor()
    << " c12=" << f.Command12.backColor() << " frame=" << f.Frame1.backColor() << " check2=" << f.Check2.backColor()
    << '/' << f.Check2.visible() << "\ncombo=" << f.Combo1.text() << '/' << f.Combo1.visible() << '/'
    << f.Combo1.listIndex();
  for (int i = 0; i <= 2; ++i)
    s << "\ncheck3(" << i << ")=" << f.Check3[i].value() << '/' << f.Check3[i].enabled() << '/'
      << f.Check3[i].backColor();
  for (const Label* l : {&f.Label1, &f.Label2, &f.Label7, &f.Label8, &f.Label5})
    s << '\n' << l->name() << "=\"" << l->caption() << "\" " << l->visible();
  s << "\nimages " << f.Image1.visible() << f.Image4.visible();
  return s.str();
}

}  // namespace tirpo
