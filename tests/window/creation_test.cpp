// The window as it is created, and as start-up leaves it.

#include "support/loaded_form.h"

namespace tirpo {
namespace {

class NewForm : public ::testing::Test {
 protected:
  fakes::FakeMeasurer measurer;
  fakes::FakeClock clock;
  Form88 f{measurer, clock};
};

void expectRect(const Control& c, double l, double t, double w, double h) {
  EXPECT_EQ(c.twips().left, l) << c.name();
  EXPECT_EQ(c.twips().top, t) << c.name();
  EXPECT_EQ(c.twips().width, w) << c.name();
  EXPECT_EQ(c.twips().height, h) << c.name();
}

TEST_F(NewForm, WindowAndWindowedControls) {
  EXPECT_EQ(f.caption(), "tirpoアナログ時計");
  EXPECT_EQ(f.backColor(), 0xC0C0C0u);
  EXPECT_EQ(f.font().face, "ＭＳ Ｐゴシック");
  EXPECT_EQ(f.font().size, 11.25f);

  EXPECT_EQ(f.Combo1.text(), "AUTO");
  EXPECT_EQ(f.Combo1.listIndex(), -1);
  EXPECT_EQ(f.Combo1.items(), rules::stepItems());
  EXPECT_FALSE(f.Combo1.visible());
  expectRect(f.Combo1, 960, 120, 1455, 345);

  EXPECT_EQ(f.Frame1.caption(), "針表示");
  EXPECT_EQ(f.Frame1.backColor(), kLightGrey);
  EXPECT_EQ(f.Frame1.foreColor(), kYellow);
  const char* boxes[] = {"時", "分", "秒"};
  for (int i = 0; i < kHandBoxCount; ++i) {
    const CheckBox& c = f.Check3[i];
    EXPECT_EQ(c.caption(), boxes[i]);
    EXPECT_EQ(c.value(), 1);
    EXPECT_TRUE(c.visible());
    EXPECT_EQ(c.backColor(), kLightGrey);
    EXPECT_EQ(c.foreColor(), kYellow);
    expectRect(c, 120, 240 + 240 * i, 615, 255);
  }
  EXPECT_EQ(f.Check2.caption(), "\xEF\xBC\x95分きざみ");  // full-width digit five
  EXPECT_FALSE(f.Check2.visible());
  EXPECT_EQ(f.Check2.value(), 0);

  EXPECT_EQ(f.Command12.caption(), "今何時");
  EXPECT_EQ(f.Command8.caption(), "時計");
  EXPECT_EQ(f.Command12.backColor(), kLightGrey);
  EXPECT_EQ(f.Command8.backColor(), kLightGrey);
  EXPECT_EQ(f.Command8.font().size, 9.0f);
  EXPECT_EQ(f.Command12.font().size, 11.25f);
  expectRect(f.Command12, 120, 2640, 855, 735);
  expectRect(f.Command8, 120, 4320, 855, 735);

  EXPECT_TRUE(f.Timer1.enabled());
  EXPECT_EQ(f.Timer1.interval(), 1000);
  EXPECT_FALSE(f.Timer4.enabled());
  EXPECT_EQ(f.Timer4.interval(), 10);
}

TEST_F(NewForm, TabIndicesAreTheDesignsOwn) {
  const std::pair<const Control*, int> tabs[] = {
      {&f.Suuji[0], 0},   {&f.dot[0], 1},     {&f.Suuji2[0], 2},  {&f.Label1, 3},  {&f.Label2, 4},  {&f.Command8, 5},
      {&f.Label5, 6},     {&f.Command12, 7},  {&f.Check2, 8},     {&f.Label7, 9},  {&f.Label8, 10}, {&f.Frame1, 11},
      {&f.Check3[2], 12}, {&f.Check3[1], 13}, {&f.Check3[0], 14}, {&f.Combo1, 15},
  };
  for (const auto& [c, tab] : tabs) EXPECT_EQ(c->tabIndex(), tab) << c->name() << '(' << c->index() << ')';
}

TEST_F(NewForm, LabelsLinesAndPictures) {
  const struct {
    const Label* l;
    const char* text;
    Colour fore;
    float size;
  } templates[] = {{&f.dot[0], "・", kBlack, 18}, {&f.Suuji2[0], "1", kCyan, 18}, {&f.Suuji[0], "1", kRed, 21.75f}};
  for (const auto& t : templates) {
    EXPECT_EQ(t.l->caption(), t.text);
    EXPECT_EQ(t.l->foreColor(), t.fore);
    EXPECT_EQ(t.l->fontSize(), t.size);
    EXPECT_FALSE(t.l->visible());
    EXPECT_TRUE(t.l->centred && t.l->autoSize && t.l->transparent);
  }
  EXPECT_EQ(f.Label5.caption(), "ちるぽ時計\r\n\xE3\x80\x80拡大して使ってね\r\n\r\n\r\n\r\nRUPESKA工房");
  EXPECT_EQ(f.Label5.foreColor(), kWhite);
  EXPECT_EQ(f.Label5.fontSize(), 14.25f);
  EXPECT_TRUE(f.Label5.visible());

  EXPECT_EQ(f.Label7.caption(), "Label7");
  EXPECT_EQ(f.Label8.caption(), "Label8");
  EXPECT_EQ(f.Label1.caption(), "");
  EXPECT_EQ(f.Label2.caption(), "");
  for (const Label* l : {&f.Label1, &f.Label2, &f.Label7, &f.Label8}) {
    EXPECT_FALSE(l->visible()) << l->name();
    EXPECT_FALSE(l->autoSize) << l->name();
  }
  EXPECT_EQ(f.Label1.fontSize(), 9.0f);
  EXPECT_TRUE(f.Label1.border && f.Label2.border);

  const struct {
    const Line* hand;
    Colour c;
    int width;
  } hands[] = {{&f.Byou, kHandGreen, 3}, {&f.Ji, kRed, 12}, {&f.Hun, kCyan, 8}};
  for (const auto& h : hands) {
    EXPECT_FALSE(h.hand->visible()) << h.hand->name();
    EXPECT_EQ(h.hand->borderColor(), h.c) << h.hand->name();
    EXPECT_EQ(h.hand->borderWidth, h.width) << h.hand->name();
  }
  EXPECT_FALSE(f.Image1.visible());
  EXPECT_TRUE(f.Image4.visible());
  EXPECT_FALSE(f.state.dialRadius.has_value());
  EXPECT_EQ(f.state.dialScale, 0.0f);
}

// Auto-size labels take their extent from their text in their font.
TEST_F(NewForm, AutoSizedLabelsAreMeasured) {
  const TextExtent splash = fakes::FakeMeasurer::expected(14.25f, 9, 6);
  EXPECT_EQ(f.Label5.twips().width, splash.width);
  EXPECT_EQ(f.Label5.twips().height, splash.height);
  const TextExtent dot = fakes::FakeMeasurer::expected(18, 1);
  EXPECT_EQ(f.dot[0].twips().width, dot.width);
  EXPECT_EQ(f.dot[0].twips().height, dot.height);
  f.Form_Load();  // the loaded dots are never given a new text or font
  EXPECT_EQ(f.dot[15].twips().width, dot.width);
}

using StartUp = LoadedForm;

TEST_F(StartUp, EndsWithTheSplashOverAnEmptyDial) {
  EXPECT_EQ(f.width(), 5800.0f);  // the design's numbers, pinned here once
  EXPECT_EQ(f.height(), 5800.0f);
  EXPECT_EQ(f.state.liveClock, False);
  EXPECT_EQ(f.state.stepMode, False);
  EXPECT_EQ(f.state.runForward, False);
  EXPECT_EQ(f.state.runBackward, False);
  EXPECT_EQ(f.state.stepIndex, 0.0f);
  EXPECT_TRUE(f.Timer1.enabled());
  EXPECT_FALSE(f.Timer4.enabled());
  EXPECT_EQ(f.Timer4.interval(), 10);

  for (const Line* h : {&f.Byou, &f.Hun, &f.Ji}) EXPECT_FALSE(h->visible()) << h->name();
  expectHand(f.Byou, 0.9, 0);
  expectHand(f.Hun, 0.81, 0);
  expectHand(f.Ji, 0.54, 0);
  EXPECT_TRUE(f.Label5.visible());
  EXPECT_TRUE(f.Image4.visible());
  EXPECT_FALSE(f.Image1.visible());
  EXPECT_FALSE(f.Check2.visible());
  EXPECT_TRUE(allVisible(f.Suuji2, True));
  EXPECT_TRUE(allVisible(f.dot, False));
  EXPECT_TRUE(allVisible(f.Suuji, False));
  EXPECT_FALSE(f.Suuji2[0].visible() || f.dot[0].visible() || f.Suuji[0].visible());

  for (const Label* l : {&f.Label1, &f.Label2, &f.Label7, &f.Label8}) EXPECT_EQ(l->caption(), "") << l->name();
  EXPECT_TRUE(indicesWithColour(f.Suuji2, kCyan).size() == 60);
  EXPECT_TRUE(indicesWithColour(f.dot, kYellow).size() == 60);
  EXPECT_TRUE(indicesWithColour(f.Suuji, kRed).size() == 12);

  for (int i = 1; i <= kHourNumeralCount; ++i) EXPECT_EQ(f.Suuji[i].fontSize(), 22.0f) << i;
  f.Form_Resize();  // the next layout brings them to 20 x dialScale
  for (int i = 1; i <= kHourNumeralCount; ++i) EXPECT_EQ(f.Suuji[i].fontSize(), 20.0f) << i;
}

TEST_F(StartUp, LoadsEveryElementOnceAndDrawsThemAboveTheDesign) {
  EXPECT_EQ(f.Suuji.size(), 13u);
  EXPECT_EQ(f.dot.size(), 61u);
  EXPECT_EQ(f.Suuji2.size(), 61u);
  EXPECT_EQ(f.dot[7].caption(), "・");
  EXPECT_EQ(f.dot[7].fontSize(), 18.0f);

  std::vector<const Control*> want = {&f.dot[0], &f.Suuji2[0], &f.Suuji[0], &f.Image1, &f.Image4, &f.Label5, &f.Byou,
                                      &f.Ji,     &f.Hun,       &f.Label8,   &f.Label7, &f.Label2, &f.Label1};
  for (int i = 1; i <= kHourNumeralCount; ++i) want.push_back(&f.Suuji[i]);
  for (int i = 1; i <= kDotCount; ++i) {
    want.push_back(&f.dot[i]);
    want.push_back(&f.Suuji2[i]);
  }
  const auto& order = f.paintOrder();
  ASSERT_EQ(order.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i)
    EXPECT_EQ(order[i], want[i]) << "at " << i << ": " << order[i]->name() << '(' << order[i]->index() << ')';
}

}  // namespace
}  // namespace tirpo
