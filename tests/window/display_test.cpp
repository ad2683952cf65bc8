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
    int minutes, hour;
    int dots, numerals;
  } ticks[] = {
      {58, 0, 0, 2},
      {59, 0, 0, 2},
      {60, 1, 10, 2},
      {61, 1, 0, 2},
  };
  for (const auto& t : ticks) {
    writes = {};
    f.Timer4_Timer();
    SCOPED_TRACE(t.minutes);
    EXPECT_EQ(f.Label1.caption(), std::to_string(t.minutes));
    EXPECT_EQ(f.Label2.caption(), std::to_string(t.hour));
    EXPECT_EQ(writes.dots, t.dots);
    EXPECT_EQ(writes.numerals, t.numerals);
    EXPECT_EQ(litFaceMismatch(f, {t.minutes, kGreen, t.hour}), "");
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

// A click on the shown picture switches the minute numerals and the
// pictures over, keeping the numerals' colours; a click on the hidden one
// changes nothing, even with a numeral out of line that it would set. The
// next layout goes by the window size again.
TEST_F(Display, PicturesToggleTheMinuteNumerals) {
  live(4, 20, 0);  // small window: numerals hidden, Image1 offered
  const Colour numeral20 = f.Suuji2[20].foreColor();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Image& shown = f.Image1.visible() ? f.Image1 : f.Image4;
    Image& hidden = &shown == &f.Image1 ? f.Image4 : f.Image1;
    const Boolean numerals = f.Suuji2[1].visible();
    f.Suuji2[7].setVisible(numerals == True ? False : True);
    const Snapshot before = snapshot(f);
    hidden.click();
    EXPECT_EQ(snapshot(f), before);
    f.Suuji2[7].setVisible(numerals);
    shown.click();
    EXPECT_TRUE(allVisible(f.Suuji2, numerals == True ? False : True));
    EXPECT_FALSE(shown.visible());
    EXPECT_TRUE(hidden.visible());
    EXPECT_EQ(f.Suuji2[20].foreColor(), numeral20);
  }
  f.Image1.click();
  f.Form_Resize();
  EXPECT_TRUE(allVisible(f.Suuji2, False));
  EXPECT_TRUE(f.Image1.visible());
  EXPECT_FALSE(f.Image4.visible());
}

// Where a press on the client area goes: a visible label (the splash text,
// a numeral, a dot) swallows it; the visible picture swallows it too and is
// clicked by the left button; anywhere else, on a hand or a hidden label
// too, it is the face's press. Each row against a twin window in the same
// state given what the press should have become.
TEST(Presses, GoWhereTheWindowRoutesThem) {
  enum Scene { StartUp, Manual15, AutoRunning };
  enum Goes { Nowhere, ToPicture, ToFace };
  constexpr int L = kLeftButton, R = kRightButton, M = kMiddleButton;
  const struct {
    const char* what;
    Scene scene;
    const char* label;  // pressed at the centre of this label ("Suuji" with index 3: Suuji(3)) ...
    int index;
    double x, y;  // ... or, with none, at this point of the face
    std::vector<int> buttons;
    Goes goes;
  } rows[] = {
      // clang-format off
      {"the splash text at its centre, over the picture", StartUp, nullptr, 0, 0, 0, {L, R}, Nowhere},
      {"the splash text above it", StartUp, nullptr, 0, 0, 0.3, {L}, Nowhere},
      {"minute numeral 15 before a mode", StartUp, "Suuji2", 15, 0, 0, {L}, Nowhere},
      {"the bare face below the splash", StartUp, nullptr, 0, 0.3, -0.75, {L, R}, ToFace},
      {"hour numeral 3, hidden before a mode", StartUp, "Suuji", 3, 0, 0, {L}, ToFace},
      {"the hidden Label1", StartUp, "Label1", 0, 0, 0, {L}, ToFace},
      {"hour numeral 3", Manual15, "Suuji", 3, 0, 0, {L, R}, Nowhere},
      {"hour numeral 7", Manual15, "Suuji", 7, 0, 0, {L, R}, Nowhere},
      {"hour numeral 10", Manual15, "Suuji", 10, 0, 0, {L, R}, Nowhere},
      {"dot 40", Manual15, "dot", 40, 0, 0, {L, R}, Nowhere},
      {"minute numeral 25", Manual15, "Suuji2", 25, 0, 0, {L, R}, Nowhere},
      {"the bare face", Manual15, nullptr, 0, 0.45, -0.1, {L, R, M}, ToFace},
      {"the minute hand", AutoRunning, nullptr, 0, 0, 0.5, {L}, ToFace},
      {"the picture, left: the run goes on", AutoRunning, nullptr, 0, 0, 0, {L}, ToPicture},
      {"the picture, other buttons", AutoRunning, nullptr, 0, 0, 0, {R, M}, Nowhere},
      {"dot 15", AutoRunning, "dot", 15, 0, 0, {L}, Nowhere},
      // clang-format on
  };
  const auto enter = [](Form88& f, Scene scene) {
    if (scene == StartUp) return;
    f.Command12_Click();
    if (scene == Manual15) f.Combo1.pick(3);
    if (scene == AutoRunning) f.Form_MouseDown(kLeftButton, 0, 0, 0);
  };
  const auto labelOf = [](const Form88& f, std::string_view name, int i) -> const Label& {
    return name == "Suuji" ? f.Suuji[i] : name == "Suuji2" ? f.Suuji2[i] : name == "dot" ? f.dot[i] : f.Label1;
  };
  for (const auto& row : rows) {
    for (int button : row.buttons) {
      SCOPED_TRACE(testing::Message() << row.what << ", button " << button);
      OwnForm pressed, twin;
      enter(pressed.f, row.scene);
      enter(twin.f, row.scene);
      double x = pressed.f.scale().toTwipsX(row.x), y = pressed.f.scale().toTwipsY(row.y);
      if (row.label) {
        const Label& l = labelOf(pressed.f, row.label, row.index);
        ASSERT_EQ(l.visible(), Boolean::of(row.goes == Nowhere));  // what the row is about
        x = l.twips().left + l.twips().width / 2, y = l.twips().top + l.twips().height / 2;
      }
      EXPECT_EQ(pressed.f.pressAt(button, 0, x, y), row.goes == ToFace);
      if (row.goes == ToFace) twin.f.Form_MouseDown(button, 0, 0, 0);
      if (row.goes == ToPicture) (twin.f.Image1.visible() ? twin.f.Image1 : twin.f.Image4).click();
      EXPECT_EQ(snapshot(pressed.f), snapshot(twin.f));
    }
  }
}

}  // namespace
}  // namespace tirpo
