#pragma once
// Readings of the window model for the tests that run it without a
// toolkit: where a label or a hand stands in face units, which numerals
// and dots are lit, and the whole window as text for before/after
// comparisons. The expectations are the clock's rules from clock_rules.h.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "clock/face_sizes.h"
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

// The elements of an array (1 up, the template left out) in colour c.
inline int lastElement(const ControlArray<Label>& a) { return static_cast<int>(a.size()) - 1; }
inline std::vector<int> indicesWithColour(const ControlArray<Label>& a, Colour c) {
  std::vector<int> out;
  for (int i = 1; i <= lastElement(a); ++i)
    if (a[i].foreColor() == c) out.push_back(i);
  return out;
}
inline std::vector<int> yellowNumerals(const Form88& f) { return indicesWithColour(f.Suuji2, kYellow); }
inline std::vector<int> redDots(const Form88& f) { return indicesWithColour(f.dot, kRed); }

// The highlights a face must show, checked in full by litFaceMismatch.
struct LitFace {
  std::optional<long long> minute;    // the minute count whose numeral is yellow; none: no numeral lit
  std::optional<Colour> numeralBase;  // the colour of every other minute numeral; none: any one colour
  std::optional<long long> hour;      // the hour whose five dots are red; none: no red dot
  bool sectorMayBeUnlit = false;      // the dots may also all be yellow
};

// "" when the minute numerals and the dots show what lit says, else what
// they show instead. The one check of the highlights that the storm, the
// long run, the clock jumps and the display tests share.
inline std::string litFaceMismatch(const Form88& f, const LitFace& lit) {
  std::ostringstream out;
  const std::vector<int> yellow = indicesWithColour(f.Suuji2, kYellow);
  const std::vector<int> wantYellow =
      lit.minute ? std::vector<int>{rules::numeralFor(*lit.minute)} : std::vector<int>{};
  if (yellow != wantYellow)
    out << "numerals lit " << rules::listText(yellow) << ", expected " << rules::listText(wantYellow) << "; ";
  const Colour base = lit.numeralBase.value_or(f.Suuji2[yellow.empty() || yellow[0] != 1 ? 1 : 2].foreColor());
  if (indicesWithColour(f.Suuji2, base).size() + yellow.size() != static_cast<std::size_t>(kMinuteNumeralCount))
    out << "numerals not all in base colour " << base << "; ";
  const std::vector<int> red = indicesWithColour(f.dot, kRed);
  if (indicesWithColour(f.dot, kYellow).size() + red.size() != static_cast<std::size_t>(kDotCount))
    out << "dots in other colours; ";
  const std::vector<int> wantRed = lit.hour ? rules::sectorFor(*lit.hour) : std::vector<int>{};
  if (red != wantRed && !(lit.sectorMayBeUnlit && red.empty()))
    out << "red dots " << rules::listText(red) << ", expected " << rules::listText(wantRed) << "; ";
  return out.str();
}

inline bool allVisible(const ControlArray<Label>& a, Boolean v) {
  for (int i = 1; i <= lastElement(a); ++i)
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
    s << '\n' << (*a)[0].name() << ':';
    for (int i = 1; i <= lastElement(*a); ++i) {
      const Label& l = (*a)[i];
      s << ' ' << l.foreColor() << (l.visible() ? "+" : "-") << l.twips().left << ',' << l.twips().top;
    }
  }
  return s.str();
}

// Everything a user or a handler can observe, for before/after comparisons:
// the face and every other control as text (a readable difference), and the
// window's variables, compared by ClockState's own ==, so a variable added
// later takes part without a change here.
struct Snapshot {
  std::string controls;
  ClockState state;
  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

inline void PrintTo(const ClockState& st, std::ostream* out) {
  const auto opt = [](const std::optional<double>& v) { return v ? std::to_string(*v) : std::string("empty"); };
  *out << "live=" << st.liveClock << " step=" << st.stepMode << " fwd=" << st.runForward << " bwd=" << st.runBackward
       << " index=" << st.stepIndex << " minutePos=" << st.minutePos << " scale=" << st.dialScale
       << " radius=" << opt(st.dialRadius) << " daySeconds=" << opt(st.daySeconds) << " hour=" << opt(st.hourValue);
}
inline void PrintTo(const Snapshot& s, std::ostream* out) {
  *out << s.controls << "\nstate ";
  PrintTo(s.state, out);
}

inline Snapshot snapshot(const Form88& f) {
  std::ostringstream s;
  s << faceSnapshot(f) << "\ntimers t1=" << f.Timer1.enabled() << '/' << f.Timer1.interval()
    << " t4=" << f.Timer4.enabled() << '/' << f.Timer4.interval() << "\nbuttons c8=" << f.Command8.backColor()
    << " c12=" << f.Command12.backColor() << " frame=" << f.Frame1.backColor() << " check2=" << f.Check2.backColor()
    << '/' << f.Check2.visible() << "\ncombo=" << f.Combo1.text() << '/' << f.Combo1.visible() << '/'
    << f.Combo1.listIndex();
  for (int i = 0; i < kHandBoxCount; ++i)
    s << "\ncheck3(" << i << ")=" << f.Check3[i].value() << '/' << f.Check3[i].enabled() << '/'
      << f.Check3[i].backColor();
  for (const Label* l : {&f.Label1, &f.Label2, &f.Label7, &f.Label8, &f.Label5})
    s << '\n' << l->name() << "=\"" << l->caption() << "\" " << l->visible();
  s << "\nimages " << f.Image1.visible() << f.Image4.visible();
  return {s.str(), f.state};
}

}  // namespace tirpo
