// Highlights, hand visibility, the two pictures, and where a press goes.

#include "support/loaded_form.h"

namespace tirpo {
namespace {

using Ints = std::vector<int>;
using Display = LoadedForm;

// The rules themselves are tabled with the clock rules; these cases show
// each handler applies them with its own colours.
const struct {
  const char* caption;
  Ints numeral;
} kMinuteCases[] = {
    {"45", {45}}, {"", {}}, {"0", {60}}, {"65", {5}}, {"-5", {55}}, {"abc", {}},
};

TEST_F(Display, MinuteLabelsLightTheirNumeral) {
  for (const auto& [label, base] : {std::pair{&f.Label1, kGreen}, std::pair{&f.Label8, kCyan}}) {
    for (const auto& c : kMinuteCases) {
      SCOPED_TRACE(testing::Message() << label->name() << " \"" << c.caption << '"');
      label->setCaption(c.caption);
      EXPECT_EQ(yellowNumerals(f), c.numeral);
      EXPECT_EQ(indicesWithColour(f.Suuji2, base).size(), 60 - c.numeral.size());
    }
  }
}

TEST_F(Display, HourLabelsLightTheirSector) {
  const Ints top{1, 2, 3, 4, 60};
  const struct {
    const char* caption;
    Ints dots;
  } cases[] = {
      {"3", {15, 16, 17, 18, 19}},   {"-1", {55, 56, 57, 58, 59}},     {"12", top}, {"", top},
      {"3.5", {20, 21, 22, 23, 24}}, {"-40001", {35, 36, 37, 38, 39}},
  };
  for (Label* label : {&f.Label2, &f.Label7}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << label->name() << " \"" << c.caption << '"');
      label->setCaption(c.caption);
      EXPECT_EQ(redDots(f), c.dots);
      EXPECT_EQ(indicesWithColour(f.dot, kYellow).size(), 55u);
    }
  }
}

TEST_F(Display, TheLastHandlerDecidesTheColours) {
  f.Label1.setCaption("5");
  f.Label8.setCaption("7");
  EXPECT_EQ(yellowNumerals(f), Ints{7});
  EXPECT_EQ(indicesWithColour(f.Suuji2, kCyan).size(), 59u);
  f.Label7.setCaption("2");
  f.Label2.setCaption("9");
  EXPECT_EQ(redDots(f), (Ints{45, 46, 47, 48, 49}));
}

// The numeral and sector the manual clock should light for its labels.
void expectHighlightsMatch(const Form88& f) {
  const long long minutes = std::stoll(f.Label1.caption());
  const long long hour = std::stoll(f.Label2.caption());
  EXPECT_EQ(litFaceMismatch(f, {minutes, kGreen, hour}), "");
  // The hour shown is the hour of the minute count.
  EXPECT_EQ(rules::floorMod(hour, 12), rules::floorMod(rules::floorDiv(minutes, 60), 12));
}

TEST_F(Display, HighlightsFollowEveryPressAndTick) {
  manual(1);
  for (int i = 0; i < 30; ++i) {
    press(kLeftButton);  // on to half past two
    SCOPED_TRACE(f.Label1.caption());
    expectHighlightsMatch(f);
  }
  for (int i = 0; i < 60; ++i) {
    press(kRightButton);  // back to half past nine, before twelve
    SCOPED_TRACE(f.Label1.caption());
    expectHighlightsMatch(f);
  }
  ASSERT_EQ(f.Label1.caption(), "-150");
  f.Combo1.setText("AUTO");
  for (int i = 0; i < 130; ++i) {
    f.Timer4_Timer();  // runs backward, minute by minute
    SCOPED_TRACE(f.Label1.caption());
    expectHighlightsMatch(f);
  }
  EXPECT_EQ(f.Label1.caption(), "-280");
}

// Counts the colour writes that change a dot or a minute numeral.
struct ColourWrites final : ControlObserver {
  void controlChanged(Control& c, Aspect a) override {
    if (a == Aspect::Colour && c.name() == "dot") ++dots;
    if (a == Aspect::Colour && c.name() == "Suuji2") ++numerals;
  }
  void controlLoaded(Control&) override {}
  void windowChanged(Aspect) override {}
  int dots = 0, numerals = 0;
};

// An AUTO tick writes the hour twice (the whole hours, then the hour on the
// dial) and the minute once. The sector is coloured once: only when the hour
// moves do its five old and five new dots change, and the minute numeral
// changes its old and new numeral. The live tick, which writes the same hour
// and minute sixty times a minute, changes no colour between minutes.
TEST_F(Display, EachTickColoursEachHighlightOnce) {
  manual();
  setMinutes("57", "0");
  press(kLeftButton);  // the AUTO run forward
  ColourWrites writes;
  f.setObserver(&writes);
  const struct {
    const char* minutes;
    int dots, numerals;
  } ticks[] = {
      {"58", 0, 2},
      {"59", 0, 2},
      {"60", 10, 2},
      {"61", 0, 2},
  };
  for (const auto& t : ticks) {
    writes = {};
    f.Timer4_Timer();
    SCOPED_TRACE(t.minutes);
    EXPECT_EQ(f.Label1.caption(), t.minutes);
    EXPECT_EQ(writes.dots, t.dots);
    EXPECT_EQ(writes.numerals, t.numerals);
    expectHighlightsMatch(f);
  }
  live(10, 8, 30);
  for (int s = 31; s < 60; ++s) {
    writes = {};
    clock.set(10, 8, s);
    f.Timer1_Timer();
    EXPECT_EQ(writes.dots + writes.numerals, 0) << s;
  }
  f.setObserver(nullptr);
}

TEST_F(Display, EachBoxClickSetsAllThreeHands) {
  // At start-up the hands are hidden though every box is ticked; the first
  // click brings them all in line.
  f.Check3[2].toggle();
  EXPECT_TRUE(f.Ji.visible());
  EXPECT_TRUE(f.Hun.visible());
  EXPECT_FALSE(f.Byou.visible());
  const struct {
    int box, value;
    bool ji, hun, byou;
  } steps[] = {
      {1, 0, true, false, false}, {1, 1, true, true, false}, {2, 1, true, true, true},
      {0, 2, false, true, true},  {0, 1, true, true, true},  {2, 2, true, true, false},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << "box " << s.box << " value " << s.value);
    f.Check3[s.box].setValue(s.value);
    EXPECT_EQ(f.Ji.visible(), Boolean::of(s.ji));
    EXPECT_EQ(f.Hun.visible(), Boolean::of(s.hun));
    EXPECT_EQ(f.Byou.visible(), Boolean::of(s.byou));
  }
}

TEST_F(Display, AHiddenPictureDoesNothing) {
  f.Suuji2[7].setVisible(False);  // Image1 is hidden at start-up
  f.Image1.click();
  EXPECT_FALSE(f.Suuji2[7].visible());
  EXPECT_TRUE(f.Image4.visible());
  f.Command8_Click();  // now Image4 is hidden
  f.Suuji2[7].setVisible(True);
  f.Image4.click();
  EXPECT_TRUE(f.Suuji2[7].visible());
  EXPECT_TRUE(f.Image1.visible());
}

TEST_F(Display, PicturesToggleTheMinuteNumerals) {
  f.Command8_Click();  // small window: numerals hidden, Image1 offered
  live(4, 20, 0);
  const Snapshot before = snapshot(f);
  const Colour numeral20 = f.Suuji2[20].foreColor();
  f.Image4.click();  // hidden: nothing happens
  EXPECT_EQ(snapshot(f), before);
  f.Image1.click();
  EXPECT_TRUE(allVisible(f.Suuji2, True));
  EXPECT_TRUE(f.Image4.visible());
  EXPECT_FALSE(f.Image1.visible());
  EXPECT_EQ(f.Suuji2[20].foreColor(), numeral20);
  f.Image1.click();  // now hidden: nothing happens
  EXPECT_TRUE(allVisible(f.Suuji2, True));
  f.Image4.click();
  EXPECT_EQ(snapshot(f), before);

  f.Image1.click();
  f.Form_Resize();  // the next reveal goes by the window size again
  EXPECT_TRUE(allVisible(f.Suuji2, False));
  EXPECT_TRUE(f.Image1.visible());
  EXPECT_FALSE(f.Image4.visible());
}

class Presses : public LoadedForm {
 protected:
  bool pressFace(int button, double x, double y) {
    return f.pressAt(button, 0, f.scale().toTwipsX(x), f.scale().toTwipsY(y));
  }
};

TEST_F(Presses, TheSplashTextTakesPressesOnItsArea) {
  const Snapshot before = snapshot(f);
  EXPECT_FALSE(pressFace(kLeftButton, 0, 0));
  EXPECT_FALSE(pressFace(kLeftButton, 0, 0.3));
  EXPECT_EQ(snapshot(f), before);  // not even Image4 below it is clicked
}

TEST_F(Presses, APressOnTheBareSurfaceSteps) {
  EXPECT_TRUE(pressFace(kLeftButton, 0.3, -0.75));
  EXPECT_EQ(f.Label2.caption(), "1");
  EXPECT_FALSE(f.Timer1.enabled());
  // Hidden labels do not take presses: Label1 sits here in twips.
  EXPECT_TRUE(f.pressAt(kLeftButton, 0, 300, 1400));
  EXPECT_EQ(f.Label2.caption(), "2");
}

TEST_F(Presses, VisibleNumeralsAndPicturesTakeTheirPresses) {
  EXPECT_FALSE(pressFace(kLeftButton, 0.99, 0));  // minute numeral 15
  EXPECT_EQ(f.Label2.caption(), "");
  manual(3);
  // Every kind of visible numeral and a dot take both buttons' presses.
  for (const Label* l : {&f.Suuji[3], &f.Suuji[7], &f.Suuji[10], &f.dot[40], &f.Suuji2[25]}) {
    ASSERT_TRUE(l->visible()) << l->name() << l->index();
    const TwipRect r = l->twips();
    for (int button : {kLeftButton, kRightButton}) {
      EXPECT_FALSE(f.pressAt(button, 0, r.left + r.width / 2, r.top + r.height / 2)) << l->name() << l->index();
      EXPECT_EQ(f.Label1.caption(), "") << l->name() << l->index();
    }
  }
  f.Combo1.setText("AUTO");
  // A hand is a line: presses go through it to the surface.
  EXPECT_TRUE(pressFace(kLeftButton, 0, 0.5));
  EXPECT_TRUE(f.Timer4.enabled());
  // The picture in the centre is clicked, and the run goes on.
  ASSERT_TRUE(f.Image4.visible());
  EXPECT_FALSE(pressFace(kLeftButton, 0, 0));
  EXPECT_TRUE(allVisible(f.Suuji2, False));
  EXPECT_TRUE(f.Image1.visible());
  EXPECT_TRUE(f.Timer4.enabled());
  EXPECT_FALSE(pressFace(kLeftButton, 0, 0));
  EXPECT_TRUE(allVisible(f.Suuji2, True));
  EXPECT_TRUE(f.Image4.visible());
  EXPECT_FALSE(pressFace(kLeftButton, 0.9, 0));  // dot 15, shown now
  EXPECT_TRUE(f.Timer4.enabled());
}

}  // namespace
}  // namespace tirpo
