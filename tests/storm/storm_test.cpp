// A storm of random events on one clock window: presses of every button in
// every mode at random places, resizes from nothing to far beyond any screen,
// timer ticks, list picks and typed texts, check box and picture clicks, the
// two mode buttons and jumps of the system clock. After every event the face
// must still make sense: hands from the centre with their proper lengths and
// pointing where the clock values say, at most one lit minute numeral and at
// most one lit hour sector, both matching the time shown, a title of the
// program's own, and the look of the mode the window is in.
//
// TIRPO_STORM_SEED and TIRPO_STORM_EVENTS override the fixed seed and the
// number of events. The same seed gives the same storm with the same
// standard library. A failure names the seed, the event and the events that
// led up to it.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/loaded_form.h"

namespace tirpo {
namespace {

using namespace rules;

constexpr std::uint32_t kDefaultSeed = 20240611;
constexpr long kDefaultEvents = 200000;
// The first events leave the mode buttons alone, so the window's state
// before any mode button (presses stepping the hour counter) gets its share.
constexpr long kStartPhase = 2000;

long envNumber(const char* name, long fallback) {
  const char* v = std::getenv(name);
  if (!v || !*v) return fallback;
  char* end = nullptr;
  const long n = std::strtol(v, &end, 10);
  return end && *end == '\0' ? n : fallback;
}

using Mode = FaceMode;

const char* modeName(Mode m) { return m == Mode::StartUp ? "start" : m == Mode::LiveClock ? "live" : "manual"; }

#define STORM_REQUIRE(cond, what)        \
  do {                                   \
    if (!(cond)) {                       \
      std::ostringstream storm_message_; \
      storm_message_ << what;            \
      return storm_message_.str();       \
    }                                    \
  } while (0)

// Counts every change the window and its controls report, to tell an event
// that changes nothing at all.
class ChangeCount final : public ControlObserver {
 public:
  void controlChanged(Control&, Aspect) override { ++changes; }
  void controlLoaded(Control&) override { ++changes; }
  void windowChanged(Aspect) override { ++changes; }
  long changes = 0;
};

const std::vector<std::string> kTypedTexts = {
    "",   "abc", "-5", " 15", "１５", std::string(5000, '7'),      "1e9", "15.5", "AUTO", "auto", "AUTO ", "15",
    "60", "1",   "0",  "\t",  "時計", "1" + std::string(400, '0'), "-0",  "+5",   ".5",
};

class Storm {
 public:
  explicit Storm(std::uint32_t seed) : rng_(seed) {
    f_.Form_Load();
    f_.setObserver(&watch_);
    paintOrderSize_ = f_.paintOrder().size();
  }

  // One random event; false when the event drawn cannot happen now (a
  // stopped timer, a hidden list) and nothing was done.
  bool event(long index, std::string& what);
  // Everything that must hold after any event; "" when it does.
  std::string invariants() const;
  // What the event just carried out must have done; "" when it did.
  std::string effects() const { return effect_; }

  const Form88& form() const { return f_; }
  std::array<long, 19> counts{};

 private:
  enum Kind {
    PressAt,
    MouseDown,
    Tick1,
    Tick4,
    SetWidth,
    SetHeight,
    WindowResized,
    Pick,
    Type,
    Check3Toggle,
    Check3Set,
    Check2Set,
    Image1Click,
    Image4Click,
    Command8,
    Command12,
    ClockJump,
    ClockAdvance,
    ClockRate,
    KindCount
  };

  int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  double real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
  float sizeValue();
  void pressSomewhere(std::ostringstream& what);
  void press(int button, std::ostringstream& what, const std::function<bool()>& deliver);
  std::string handCheck(const Line& hand, double factor, std::optional<double> rad, double extraTol) const;
  std::string onWholeSecond(const Line& hand, double fromSecond, double toSecond) const;
  bool flat() const { return !(f_.clientWidth() > 0 && f_.width() > 0 && f_.clientHeight() > 0 && f_.height() > 0); }

  std::mt19937 rng_;
  // How often each kind of event comes, in the order of Kind.
  std::discrete_distribution<int> kinds_{
      22,   // PressAt
      8,    // MouseDown
      12,   // Tick1
      20,   // Tick4
      2,    // SetWidth
      2,    // SetHeight
      2,    // WindowResized
      5,    // Pick
      4,    // Type
      3,    // Check3Toggle
      2,    // Check3Set
      2,    // Check2Set
      2,    // Image1Click
      2,    // Image4Click
      1.5,  // Command8
      1.5,  // Command12
      4,    // ClockJump
      3,    // ClockAdvance
      0.5,  // ClockRate
  };
  fakes::FakeMeasurer measurer_;
  fakes::FakeClock clock_;
  Form88 f_{measurer_, clock_};
  ChangeCount watch_;
  std::size_t paintOrderSize_ = 0;
  std::string effect_;
};

float Storm::sizeValue() {
  static constexpr float kSpecial[] = {0,
                                       1,
                                       2,
                                       15,
                                       kStartSizeTwips,
                                       kLargeWindowTwips - 1,
                                       kLargeWindowTwips,
                                       kLargeWindowTwips + 1,
                                       kLargeWindowTwips + 0.5f,
                                       99999,
                                       100000};
  switch (uniform(0, 9)) {
    case 0:
      return kSpecial[uniform(0, static_cast<int>(std::size(kSpecial)) - 1)];
    case 1:
      return static_cast<float>(real(0, 100000));
    case 2:
    case 3:
      return static_cast<float>(uniform(0, 100000));
    default:
      return static_cast<float>(uniform(1500, 15000));
  }
}

// A press anywhere on or around the client area, routed as the window
// routes it: to a picture, swallowed by a label, or to the surface.
void Storm::pressSomewhere(std::ostringstream& what) {
  const double cw = f_.clientWidth(), ch = f_.clientHeight();
  double x = 0, y = 0;
  switch (uniform(0, 5)) {
    case 0:
    case 1:
      x = real(-0.05, 1.05) * cw, y = real(-0.05, 1.05) * ch;
      break;
    case 2:
      x = cw / 2, y = ch / 2;
      break;   // the dial centre, under the pictures
    case 3: {  // on a numeral or dot
      const ControlArray<Label>* arrays[] = {&f_.dot, &f_.Suuji, &f_.Suuji2};
      const int a = uniform(0, 2);
      const Label& l = (*arrays[a])[uniform(1, a == 1 ? 12 : 60)];
      x = l.twips().left + l.twips().width / 2, y = l.twips().top + l.twips().height / 2;
      break;
    }
    case 4: {
      const Image& i = uniform(0, 1) ? f_.Image1 : f_.Image4;
      x = i.twips().left + real(0, 1) * i.twips().width, y = i.twips().top + real(0, 1) * i.twips().height;
      break;
    }
    default:
      x = uniform(0, 1) ? 0 : cw - 1, y = uniform(0, 1) ? 0 : ch - 1;
      break;
  }
  constexpr int kButtons[] = {kLeftButton, kRightButton, kMiddleButton};
  const int button = kButtons[uniform(0, 2)], shift = uniform(0, 7);
  what << "pressAt(" << button << ',' << shift << ',' << x << ',' << y << ')';
  press(button, what, [&] { return f_.pressAt(button, shift, x, y); });
}

// Delivers a press (deliver says whether it reached the surface) and records
// what it must have done, by the mode it met.
void Storm::press(int button, std::ostringstream& what, const std::function<bool()>& deliver) {
  const Mode mode = f_.faceMode();
  const Boolean running = f_.Timer4.enabled();
  const std::string label1 = f_.Label1.caption();
  const std::string combo = f_.Combo1.text();
  const long changes = watch_.changes;
  const ClockState state = f_.state;
  const bool surface = deliver();
  what << " in " << modeName(mode) << (surface ? "" : " (taken by a control)");
  // The live clock ignores presses on its surface (a press on a picture
  // still clicks the picture).
  if (mode == Mode::LiveClock) {
    if (surface && (watch_.changes != changes || state != f_.state))
      effect_ = "a press on the live clock changed the face";
    return;
  }
  if (mode != Mode::Manual) return;
  if (!surface) {
    if (f_.Timer4.enabled() != running || f_.Label1.caption() != label1)
      effect_ = "a press taken by a control moved the time or the run";
    return;
  }
  if ((button == kLeftButton || button == kRightButton) == (f_.Timer4.enabled() == running)) {
    effect_ = "a press in the manual clock started or stopped the run wrongly";
    return;
  }
  if (button == kLeftButton && !(f_.state.runForward == True && f_.state.runBackward == False))
    effect_ = "a left press did not set the forward direction";
  if (button == kRightButton && !(f_.state.runBackward == True && f_.state.runForward == False))
    effect_ = "a right press did not set the backward direction";
  if (!effect_.empty()) return;
  if (combo == kAutoItem) {
    if (f_.Label1.caption() != label1) effect_ = "a press with AUTO showing moved the time";
    return;
  }
  // A list step: the press moves the count by the step in the direction of
  // the last left or right press (none before the first).
  const float index = f_.state.stepIndex;
  long long expected = label1.empty() ? 0 : *wholeNumber(label1);
  if (index >= 0 && index <= 5 && index == static_cast<float>(static_cast<int>(index))) {
    const StepRow& step = kStepRows[static_cast<std::size_t>(index)];
    if (f_.state.runForward == True) expected += step.minutes;
    if (f_.state.runBackward == True) expected -= step.minutes;
    if (f_.Timer4.interval() != step.intervalMs) effect_ = "the press did not set the run interval of the step";
  }
  if (f_.Label1.caption() != std::to_string(expected))
    effect_ = "the press moved the count from \"" + label1 + "\" to \"" + f_.Label1.caption() + "\", expected " +
              std::to_string(expected);
}

bool Storm::event(long index, std::string& description) {
  static_assert(KindCount == 19);
  const int kind = kinds_(rng_);
  effect_.clear();
  std::ostringstream what;
  what << '#' << index << ' ';
  switch (kind) {
    case PressAt:
      pressSomewhere(what);
      break;
    case MouseDown: {
      constexpr int kButtons[] = {kLeftButton, kRightButton, kMiddleButton};
      const int button = kButtons[uniform(0, 2)], shift = uniform(0, 7);
      const auto x = static_cast<float>(real(-3, 3)), y = static_cast<float>(real(-3, 3));
      what << "Form_MouseDown(" << button << ',' << shift << ',' << x << ',' << y << ')';
      press(button, what, [&] {
        f_.Form_MouseDown(button, shift, x, y);
        return true;
      });
      break;
    }
    case Tick1: {
      // A stopped timer never fires, so its handler is called only while the
      // timer runs. Ticks while it runs but the live clock is off (at start-up)
      // are idle, and come up on their own.
      if (!f_.Timer1.enabled()) return false;
      const TimeOfDay t = clock_.time;
      const bool live = f_.state.liveClock == True;
      what << "Timer1 at " << t.hour << ':' << t.minute << ':' << t.second;
      const long changes = watch_.changes;
      const ClockState state = f_.state;
      f_.Timer1_Timer();
      if (!live && (watch_.changes != changes || state != f_.state)) effect_ = "an idle tick changed the face";
      if (live) {
        // Hands and labels from that one reading.
        if (f_.Label7.caption() != std::to_string(t.hour) || f_.Label8.caption() != std::to_string(t.minute)) {
          effect_ = "the tick wrote " + f_.Label7.caption() + ":" + f_.Label8.caption();
          break;
        }
        const double s = (t.hour * 60 + t.minute) * 60 + t.second;
        effect_ = handCheck(f_.Byou, kSecondHand, clockRadians(6 * s), 0);
        if (effect_.empty()) effect_ = handCheck(f_.Hun, kMinuteHand, clockRadians(s / 10), 1e-4);
        if (effect_.empty()) effect_ = handCheck(f_.Ji, kHourHand, clockRadians(s / 120), 1e-4);
      }
      break;
    }
    case Tick4: {
      // As Timer1: only a running timer fires.
      if (!f_.Timer4.enabled()) return false;
      const std::string was = f_.Label1.caption();
      const bool autoRun = f_.Combo1.text() == kAutoItem;
      what << "Timer4 from \"" << was << "\"";
      f_.Timer4_Timer();
      long long expected = was.empty() ? 0 : *wholeNumber(was);
      if (autoRun && f_.state.runForward == True) ++expected;
      if (autoRun && f_.state.runBackward == True) --expected;
      if (f_.Label1.caption() != std::to_string(expected))
        effect_ = "the tick wrote \"" + f_.Label1.caption() + "\", expected " + std::to_string(expected);
      else if (autoRun && f_.Timer4.interval() != 100)
        effect_ = "an AUTO tick left the interval at " + std::to_string(f_.Timer4.interval());
      break;
    }
    case SetWidth:
    case SetHeight:
    case WindowResized: {
      const float w0 = f_.width(), h0 = f_.height();
      const double cw0 = f_.clientWidth(), ch0 = f_.clientHeight();
      if (kind == SetWidth) {
        const float v = sizeValue();
        what << "setWidth(" << v << ')';
        f_.setWidth(v);
      } else if (kind == SetHeight) {
        const float v = sizeValue();
        what << "setHeight(" << v << ')';
        f_.setHeight(v);
      } else {
        constexpr double kFrameW[] = {0, 120, 240}, kFrameH[] = {0, 450, 600};
        const double w = sizeValue(), h = sizeValue();
        const double fw = kFrameW[uniform(0, 2)], fh = kFrameH[uniform(0, 2)];
        what << "windowResized(" << w << ',' << h << ',' << fw << ',' << fh << ')';
        f_.windowResized(w, h, fw, fh);
      }
      const bool changed = f_.width() != w0 || f_.height() != h0 || f_.clientWidth() != cw0 || f_.clientHeight() != ch0;
      if (!changed) break;
      // A resize ends any run and clears every clock value; the hands stand
      // at 12 o'clock with the new radius.
      if (f_.Timer4.enabled()) effect_ = "a resize left the run going";
      for (const Label* l : {&f_.Label1, &f_.Label2, &f_.Label7, &f_.Label8})
        if (!l->caption().empty()) effect_ = "a resize left " + l->name() + " at \"" + l->caption() + "\"";
      if (f_.Suuji2[60].caption() != " 0") effect_ = "numeral 60 reads \"" + f_.Suuji2[60].caption() + "\"";
      if (effect_.empty()) effect_ = handCheck(f_.Byou, kSecondHand, 0.0, 0);
      if (effect_.empty()) effect_ = handCheck(f_.Hun, kMinuteHand, 0.0, 0);
      if (effect_.empty()) effect_ = handCheck(f_.Ji, kHourHand, 0.0, 0);
      break;
    }
    case Pick: {
      // The user reaches the list only while it is on view.
      if (!f_.Combo1.visible()) return false;
      const int i = uniform(-1, 6);
      what << "pick(" << i << ')';
      f_.Combo1.pick(i);
      if (i >= 0 && i <= 5 && f_.state.stepIndex != static_cast<float>(i))
        effect_ = "picking item " + std::to_string(i) + " did not record its position";
      break;
    }
    case Type: {
      if (!f_.Combo1.visible()) return false;
      const std::string& t =
          kTypedTexts[static_cast<std::size_t>(uniform(0, static_cast<int>(kTypedTexts.size()) - 1))];
      const std::string title = f_.caption();
      const float stepIndex = f_.state.stepIndex;
      what << "typeText(\"" << (t.size() > 20 ? t.substr(0, 20) + "..." : t) << "\")";
      f_.Combo1.typeText(t);
      if (f_.caption() != title || f_.state.stepIndex != stepIndex) effect_ = "typing changed the title or the step";
      break;
    }
    case Check3Toggle: {
      // A user click reaches only an enabled box.
      const int i = uniform(0, 2);
      if (!f_.Check3[i].enabled()) return false;
      what << "Check3(" << i << ").toggle from " << f_.Check3[i].value();
      f_.Check3[i].toggle();
      break;
    }
    case Check3Set: {
      const int i = uniform(0, 2), v = uniform(0, 2);
      what << "Check3(" << i << ").setValue(" << v << ')';
      f_.Check3[i].setValue(v);
      break;
    }
    case Check2Set: {
      // The five-minute box stays hidden in use; it is driven here all the
      // same, so the press path it selects meets the storm too.
      const int v = uniform(0, 2);
      what << "Check2 " << (v == 2 ? "toggle" : "setValue(" + std::to_string(v) + ')');
      if (v == 2)
        f_.Check2.toggle();
      else
        f_.Check2.setValue(v);
      break;
    }
    case Image1Click:
      what << "Image1.click";
      f_.Image1.click();
      break;
    case Image4Click:
      what << "Image4.click";
      f_.Image4.click();
      break;
    case Command8:
    case Command12:
      if (index < kStartPhase) return false;
      what << (kind == Command8 ? "Command8" : "Command12") << ".click";
      (kind == Command8 ? f_.Command8 : f_.Command12).click();
      if (kind == Command12) {
        // The hands back at 12 o'clock, the hour label of the live clock
        // cleared, no manual time left.
        if (!f_.Label7.caption().empty() || !f_.Label1.caption().empty())
          effect_ = "今何時 left Label7 \"" + f_.Label7.caption() + "\" Label1 \"" + f_.Label1.caption() + "\"";
        if (effect_.empty()) effect_ = handCheck(f_.Byou, kSecondHand, 0.0, 0);
        if (effect_.empty()) effect_ = handCheck(f_.Hun, kMinuteHand, 0.0, 0);
        if (effect_.empty()) effect_ = handCheck(f_.Ji, kHourHand, 0.0, 0);
      }
      break;
    case ClockJump: {
      static constexpr TimeOfDay kSpecial[] = {{23, 59, 59}, {0, 0, 0}, {12, 0, 0}, {11, 59, 59}, {0, 59, 59}};
      const TimeOfDay t =
          uniform(0, 4) == 0 ? kSpecial[uniform(0, 4)] : TimeOfDay{uniform(0, 23), uniform(0, 59), uniform(0, 59)};
      what << "clock set " << t.hour << ':' << t.minute << ':' << t.second;
      clock_.time = t;
      break;
    }
    case ClockAdvance: {
      const int s = uniform(0, 1) ? uniform(-3, 3) : uniform(-7200, 7200);
      what << "clock advance " << s;
      clock_.advance(s);
      break;
    }
    case ClockRate:
      clock_.secondsPerRead = uniform(0, 1);
      what << "clock moves " << clock_.secondsPerRead << " s per reading";
      break;
  }
  ++counts[static_cast<std::size_t>(kind)];
  description = what.str();
  return true;
}

// A hand from the centre with its length; when rad is given, pointing that
// way up to the float rounding of the angle (and extraTol radians more).
std::string Storm::handCheck(const Line& hand, double factor, std::optional<double> rad, double extraTol) const {
  STORM_REQUIRE(std::fabs(hand.x1()) <= 1e-6 && std::fabs(hand.y1()) <= 1e-6,
                hand.name() << " starts at (" << hand.x1() << ',' << hand.y1() << "), not at the centre");
  // A client area without width or height collapses every position of that
  // axis onto the middle.
  const bool flatX = !(f_.clientWidth() > 0 && f_.width() > 0);
  const bool flatY = !(f_.clientHeight() > 0 && f_.height() > 0);
  if (flatX) STORM_REQUIRE(std::fabs(hand.x2()) <= 1e-6, hand.name() << " x2 " << hand.x2() << " on a flat axis");
  if (flatY) STORM_REQUIRE(std::fabs(hand.y2()) <= 1e-6, hand.name() << " y2 " << hand.y2() << " on a flat axis");
  if (flatX || flatY) return {};
  const double length = f_.state.radius() * factor;
  STORM_REQUIRE(std::fabs(handLength(hand) - length) <= 1e-5 * length + 1e-9,
                hand.name() << " is " << handLength(hand) << " long, expected " << length);
  if (rad && length > 0) {
    const double err = std::fabs(wrapPi(handAngle(hand) - *rad));
    STORM_REQUIRE(err <= halfFloatStep(*rad) + 1e-5 + extraTol,
                  hand.name() << " points at " << handAngle(hand) * 180 / kPi << " deg, expected "
                              << std::fmod(*rad * 180 / kClockPi, 360.0) << " (off by " << err << " rad)");
  }
  return {};
}

// The second hand on a whole number of seconds (6 degrees each) counted from
// fromSecond, up to the float rounding of the largest angle it can have.
std::string Storm::onWholeSecond(const Line& hand, double fromSecond, double toSecond) const {
  if (flat() || f_.state.radius() <= 0) return {};
  const double step = clockRadians(6);
  const double q = wrapPi(handAngle(hand) - clockRadians(6 * fromSecond)) / step;
  const double off = std::fabs(q - std::round(q)) * step;
  STORM_REQUIRE(off <= halfFloatStep(clockRadians(6 * std::max(std::fabs(fromSecond), std::fabs(toSecond)))) + 1e-5,
                hand.name() << " stands " << off << " rad off a whole second");
  return {};
}

std::string Storm::invariants() const {
  const Form88& f = f_;
  const Mode mode = f.faceMode();

  // At most one direction (a flag holds True or False by its type).
  STORM_REQUIRE(!(f.state.runForward == True && f.state.runBackward == True), "both directions are set");

  // The window title is one of the program's own.
  bool ownTitle = f.caption() == kClockTitleText || f.caption() == kAutoTitleText;
  for (const StepRow& s : kStepRows) ownTitle = ownTitle || f.caption() == stepTitle(s);
  STORM_REQUIRE(ownTitle, "title \"" << f.caption() << '"');

  // The dial follows the height: radius 0.9 x height / the start-up size.
  STORM_REQUIRE(f.state.dialRadius.has_value(), "no dial radius after start-up");
  const double radius = f.state.radius(), expectedRadius = 0.9 * (f.height() / kStartSizeTwips);
  STORM_REQUIRE(std::fabs(radius - expectedRadius) <= 1e-6 * expectedRadius,
                "radius " << radius << " for height " << f.height());
  STORM_REQUIRE(f.paintOrder().size() == paintOrderSize_, "controls were loaded again");

  // Clock values are "" or plain whole numbers; the live clock's are a time of day.
  for (const Label* l : {&f.Label1, &f.Label2, &f.Label7, &f.Label8})
    STORM_REQUIRE(l->caption().empty() || isWholeNumberText(l->caption()), l->name()
                                                                               << " holds \"" << l->caption() << '"');
  const auto minutes = wholeNumber(f.Label1.caption()), hour = wholeNumber(f.Label2.caption());
  const auto liveHour = wholeNumber(f.Label7.caption()), liveMinute = wholeNumber(f.Label8.caption());
  STORM_REQUIRE(!liveHour || (*liveHour >= 0 && *liveHour <= 23), "Label7 " << *liveHour);
  STORM_REQUIRE(!liveMinute || (*liveMinute >= 0 && *liveMinute <= 59), "Label8 " << *liveMinute);
  // The hour label follows the minute count whenever there is one.
  if (minutes) {
    STORM_REQUIRE(hour.has_value(), "Label1 " << *minutes << " with an empty Label2");
    STORM_REQUIRE(*hour >= -11 && *hour <= 12 && floorMod(*hour - floorDiv(*minutes, 60), 12) == 0,
                  "Label2 " << *hour << " for Label1 " << *minutes);
  }

  // Timers: only the manual clock runs Timer4; the manual clock never runs Timer1.
  STORM_REQUIRE(!f.Timer4.enabled() || mode == Mode::Manual, "Timer4 runs in the " << modeName(mode) << " mode");
  STORM_REQUIRE(f.Timer4.interval() == 10 || f.Timer4.interval() == 100 || f.Timer4.interval() == 1000,
                "Timer4 interval " << f.Timer4.interval());
  STORM_REQUIRE(f.Timer1.interval() == 1000, "Timer1 interval " << f.Timer1.interval());

  // Visibility: the splash only at start-up, the dial after it; the shown
  // picture offers the opposite of what the minute numerals show.
  const Boolean dialShown = Boolean::of(mode != Mode::StartUp);
  STORM_REQUIRE(f.Label5.visible() != dialShown, "splash visible " << f.Label5.visible());
  const Boolean numeralsShown = f.Suuji2[1].visible();
  for (int i = 1; i <= kDotCount; ++i) {
    STORM_REQUIRE(f.dot[i].visible() == dialShown, "dot " << i << " visible " << f.dot[i].visible());
    STORM_REQUIRE(f.Suuji2[i].visible() == numeralsShown, "minute numerals differ in visibility");
  }
  for (int i = 1; i <= kHourNumeralCount; ++i)
    STORM_REQUIRE(f.Suuji[i].visible() == dialShown, "hour numeral " << i << " visible " << f.Suuji[i].visible());
  STORM_REQUIRE(f.Image1.visible() != f.Image4.visible(),
                "pictures visible " << f.Image1.visible() << f.Image4.visible());
  STORM_REQUIRE(f.Image4.visible() == numeralsShown,
                "Image4 " << f.Image4.visible() << " with minute numerals visible " << numeralsShown);
  STORM_REQUIRE(!f.Check2.visible(), "the five-minute box is on view");

  // The look of each mode.
  switch (mode) {
    case Mode::StartUp:
      STORM_REQUIRE(f.state.liveClock == False, "start-up with the live clock on");
      STORM_REQUIRE(f.caption() == kClockTitleText, "start-up title \"" << f.caption() << '"');
      break;
    case Mode::LiveClock:
      STORM_REQUIRE(f.state.liveClock == True, "live look with liveClock False");
      STORM_REQUIRE(f.Timer1.enabled(), "the live clock's timer is off");
      STORM_REQUIRE(f.backColor() == kDarkGreen && f.Command12.backColor() == kSystemButtonFace,
                    "live colours " << f.backColor() << ' ' << f.Command12.backColor());
      STORM_REQUIRE(!f.Combo1.visible() && f.Combo1.text() == kAutoItem, "the list in the live clock");
      STORM_REQUIRE(f.caption() == kClockTitleText, "live title \"" << f.caption() << '"');
      STORM_REQUIRE(f.Check3[2].enabled() && f.Hun.borderColor() == kCyan, "live second box or minute hand colour");
      STORM_REQUIRE(liveHour.has_value() == liveMinute.has_value(), "only one of Label7 and Label8 is set");
      break;
    case Mode::Manual:
      STORM_REQUIRE(!f.Timer1.enabled(), "the live timer runs in the manual clock");
      STORM_REQUIRE(
          f.Command12.backColor() == kYellow && f.Command8.backColor() == kLightGrey && f.backColor() == kGrey,
          "manual colours");
      STORM_REQUIRE(f.Combo1.visible() && !f.Check3[2].enabled() && f.Hun.borderColor() == kGreen,
                    "manual list, second box or minute hand colour");
      break;
  }

  // Hands: from the centre, with their lengths; where they point.
  std::string e;
  if (mode == Mode::LiveClock && liveHour) {
    // The live clock's minute hand lies within the minute of Label8 and the
    // hour hand within the half degree of Label7 and Label8; the second hand
    // stands on a whole second.
    const double m = static_cast<double>(*liveMinute), h = static_cast<double>(*liveHour);
    const double minuteStart = (h * 60 + m) * 60;
    if (const std::string w = onWholeSecond(f.Byou, minuteStart, minuteStart + 59); !w.empty()) return w;
    for (const auto& [hand, factor, from, span] :
         {std::tuple{&f.Hun, kMinuteHand, clockRadians(6 * m), clockRadians(6)},
          std::tuple{&f.Ji, kHourHand, clockRadians(30 * h + m / 2), clockRadians(0.5)}}) {
      e = handCheck(*hand, factor, std::nullopt, 0);
      if (!e.empty()) return e;
      if (flat() || f.state.radius() <= 0) continue;
      const double into = wrapPi(handAngle(*hand) - from), tol = 1e-4;
      STORM_REQUIRE(into >= -tol && into <= span + tol,
                    hand->name() << " at " << handAngle(*hand) * 180 / kPi << " deg for " << h << ':' << m);
    }
    if (!(e = handCheck(f.Byou, kSecondHand, std::nullopt, 0)).empty()) return e;
  } else if (mode == Mode::LiveClock) {
    // Switched on, not yet ticked: the hands wait where they were.
    for (const auto& [hand, factor] :
         {std::pair{&f.Byou, kSecondHand}, std::pair{&f.Hun, kMinuteHand}, std::pair{&f.Ji, kHourHand}})
      if (!(e = handCheck(*hand, factor, std::nullopt, 0)).empty()) return e;
  } else {
    // By hand and at start-up the minute and hour hands show the minute
    // count (none counts as 12 o'clock).
    const double n = minutes ? static_cast<double>(*minutes) : 0.0;
    if (!(e = handCheck(f.Hun, kMinuteHand, clockRadians(6 * n), 0)).empty()) return e;
    if (!(e = handCheck(f.Ji, kHourHand, clockRadians(0.5 * n), 0)).empty()) return e;
    if (mode == Mode::Manual) {
      // The manual clock never moves the second hand from 12.
      if (!(e = handCheck(f.Byou, kSecondHand, 0.0, 0)).empty()) return e;
    } else {
      // At start-up a press puts the second hand on a whole step of the hour counter.
      if (!(e = handCheck(f.Byou, kSecondHand, std::nullopt, 0)).empty()) return e;
      if (const std::string w = onWholeSecond(f.Byou, 0, 12); !w.empty()) return w;
    }
  }

  // The time shown.
  const auto shown = f.timeShown();
  if (mode == Mode::Manual) {
    STORM_REQUIRE(shown.has_value(), "the manual clock shows no time for \"" << f.Label1.caption() << '"');
    const long long n = minutes.value_or(0);
    STORM_REQUIRE(shown->minute == floorMod(n, 60) && shown->hour >= 1 && shown->hour <= 12 &&
                      shown->hour % 12 == floorMod(floorDiv(n, 60), 12),
                  "shows " << shown->hour << ':' << shown->minute << " for " << n << " minutes");
  } else if (mode == Mode::LiveClock) {
    STORM_REQUIRE(shown.has_value() == liveHour.has_value(), "the live clock's time shown");
    if (shown)
      STORM_REQUIRE(shown->hour == *liveHour && shown->minute == *liveMinute,
                    "shows " << shown->hour << ':' << shown->minute);
  } else {
    STORM_REQUIRE(!shown.has_value(), "a time shown before any mode button");
  }

  // Highlights: the numeral of the minute shown lit on one base colour, and
  // the sector of its hour. Once the manual clock counts, its sector is lit;
  // so is the live clock's after its first tick, and none before it.
  const auto minuteSource = mode == Mode::LiveClock ? liveMinute : minutes;
  const auto hourSource = mode == Mode::LiveClock ? liveHour : hour;
  const bool sectorRequired = (mode == Mode::Manual && minutes) || (mode == Mode::LiveClock && liveHour);
  const std::optional<long long> sector =
      mode == Mode::LiveClock && !liveHour ? std::nullopt : std::optional<long long>(hourSource.value_or(0));
  const std::string lit = litFaceMismatch(f, {minuteSource, std::nullopt, sector, !sectorRequired});
  STORM_REQUIRE(lit.empty(), lit << "for Label1 \"" << f.Label1.caption() << "\" Label2 \"" << f.Label2.caption()
                                 << "\" Label7 \"" << f.Label7.caption() << "\" Label8 \"" << f.Label8.caption()
                                 << '"');
  if (shown && minuteSource)
    STORM_REQUIRE(numeralFor(*minuteSource) % 60 == shown->minute, "lit numeral is not the minute shown");
  const Colour base = f.Suuji2[minuteSource && numeralFor(*minuteSource) == 1 ? 2 : 1].foreColor();
  STORM_REQUIRE(base == kCyan || (base == kGreen && mode != Mode::LiveClock), "numeral base colour " << base);
  return {};
}

TEST(Storm, EveryEventLeavesAConsistentFace) {
  const auto seed = static_cast<std::uint32_t>(envNumber("TIRPO_STORM_SEED", kDefaultSeed));
  const long events = envNumber("TIRPO_STORM_EVENTS", kDefaultEvents);
  ASSERT_GT(events, 0);
  SCOPED_TRACE(testing::Message() << "TIRPO_STORM_SEED=" << seed << " TIRPO_STORM_EVENTS=" << events);
  RecordProperty("seed", std::to_string(seed));
  RecordProperty("events", std::to_string(events));

  Storm storm(seed);
  const std::string start = storm.invariants();
  ASSERT_EQ(start, "") << "after start-up";

  // The last events before a failure, to replay it by hand.
  std::array<std::string, 16> recent;
  const auto history = [&](long upTo) {
    std::string s;
    for (long j = std::max(0L, upTo - static_cast<long>(recent.size()) + 1); j <= upTo; ++j)
      s += "\n  " + recent[static_cast<std::size_t>(j) % recent.size()];
    return s;
  };

  const auto started = std::chrono::steady_clock::now();
  std::array<long, 3> inMode{};
  long drawn = 0;
  for (long i = 0; i < events; ++drawn) {
    std::string what;
    bool done = false;
    try {
      done = storm.event(i, what);
    } catch (const std::exception& ex) {
      FAIL() << "seed " << seed << " event " << i << " threw " << ex.what() << history(i - 1);
    } catch (...) {
      FAIL() << "seed " << seed << " event " << i << " threw" << history(i - 1);
    }
    if (!done) continue;
    recent[static_cast<std::size_t>(i) % recent.size()] = what;
    const std::string effect = storm.effects();
    ASSERT_EQ(effect, "") << "seed " << seed << " event " << i << ": " << what << history(i);
    const std::string broken = storm.invariants();
    ASSERT_EQ(broken, "") << "seed " << seed << " event " << i << ": " << what << history(i);
    ++inMode[static_cast<std::size_t>(storm.form().faceMode())];
    ++i;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  // The storm reached every mode and every kind of event.
  std::cout << "[ storm    ] seed " << seed << ", " << events << " events (" << drawn << " drawn) in " << seconds
            << " s; after events in start/live/manual: " << inMode[0] << '/' << inMode[1] << '/' << inMode[2]
            << "\n[ storm    ] per kind:";
  for (long c : storm.counts) std::cout << ' ' << c;
  std::cout << '\n';
  RecordProperty("seconds", std::to_string(seconds));
  if (events >= kDefaultEvents) {
    for (long n : inMode) EXPECT_GT(n, events / 100);
    for (std::size_t k = 0; k < 19; ++k) EXPECT_GT(storm.counts[k], 0) << "event kind " << k << " never happened";
  }
}

}  // namespace
}  // namespace tirpo
