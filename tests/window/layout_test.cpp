// The dial layout on every resize, and the reveal of the face.

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "support/loaded_form.h"

namespace tirpo {
namespace {

using rules::kPi;

class Layout : public LoadedForm {
 protected:
  // Every numeral and dot on its circle of radius r (face units).
  void expectDialAt(double r) {
    for (int i = 1; i <= kHourNumeralCount; ++i)
      expectCentre(f.Suuji[i], std::sin(i * kPi / 6) * r, std::cos(i * kPi / 6) * r);
    for (int i = 1; i <= kDotCount; ++i) {
      expectCentre(f.dot[i], std::sin(i * kPi / 30) * r, std::cos(i * kPi / 30) * r);
      expectCentre(f.Suuji2[i], std::sin(i * kPi / 30) * r * 1.1, std::cos(i * kPi / 30) * r * 1.1);
    }
  }
  std::vector<TwipRect> dialRects() const {
    std::vector<TwipRect> out;
    for (int i = 1; i <= kHourNumeralCount; ++i) out.push_back(f.Suuji[i].twips());
    for (int i = 1; i <= kDotCount; ++i) out.push_back(f.dot[i].twips()), out.push_back(f.Suuji2[i].twips());
    return out;
  }
};

TEST_F(Layout, AtTheStartingSize) {
  f.Form_Resize();
  EXPECT_EQ(f.state.dialScale, 1.0f);
  ASSERT_TRUE(f.state.dialRadius);
  EXPECT_DOUBLE_EQ(*f.state.dialRadius, 0.9);
  // The face spans +-1.1 units on both axes, y upward.
  EXPECT_NEAR(f.scale().toUserX(0), -1.1, 1e-12);
  EXPECT_NEAR(f.scale().toUserY(0), 1.1, 1e-12);
  EXPECT_NEAR(f.scale().toUserX(kStartSizeTwips), 1.1, 1e-12);
  EXPECT_NEAR(f.scale().toUserY(kStartSizeTwips), -1.1, 1e-12);

  EXPECT_EQ(f.Label5.fontSize(), 24.0f);
  EXPECT_NEAR(f.Label5.top() - f.Label5.height(), -0.5, 1e-6);  // lower edge
  EXPECT_NEAR(f.Label5.left() + f.Label5.width() / 2, 0.0, 1e-6);
  EXPECT_NEAR(f.Label5.twips().width, fakes::FakeMeasurer::expected(24, 9, 6).width, 1e-6);

  EXPECT_NEAR(f.Command8.top(), -0.8, 1e-6);
  EXPECT_NEAR(f.Command12.top(), -0.8 + 735 * 2.2 / kStartSizeTwips, 1e-6);
  EXPECT_EQ(f.Command8.twips().left, 120);  // buttons keep their left edge in twips
  EXPECT_EQ(f.Command12.twips().left, 120);
  for (const Image* icon : {&f.Image1, &f.Image4}) {
    EXPECT_NEAR(icon->left() + icon->width() / 2, 0.0, 1e-6);
    EXPECT_NEAR(icon->top() - icon->height() / 2, 0.0, 1e-6);
  }

  for (int i = 1; i <= kHourNumeralCount; ++i) {
    EXPECT_EQ(f.Suuji[i].fontSize(), 20.0f);
    EXPECT_EQ(f.Suuji[i].caption(), std::to_string(i));
  }
  expectCentre(f.Suuji[3], 0.9, 0);
  expectCentre(f.Suuji[6], 0, -0.9);
  expectCentre(f.dot[15], 0.9, 0);
  expectCentre(f.Suuji2[15], 0.99, 0);
  expectDialAt(0.9);
  for (int i = 1; i <= 59; ++i) EXPECT_EQ(f.Suuji2[i].caption(), std::to_string(i));
  EXPECT_EQ(f.Suuji2[60].caption(), " 0");
  EXPECT_EQ(f.dot[1].fontSize(), 18.0f);  // dots and minute numerals keep their font
  EXPECT_EQ(f.Suuji2[1].fontSize(), 18.0f);
}

// Hands the fake's extents on and keeps the font size and text of each call.
struct RecordingMeasurer final : TextMeasurer {
  TextExtent measure(const FontSpec& font, std::string_view text) const override {
    calls.emplace_back(font.size, std::string(text));
    return inner.measure(font, text);
  }
  bool measured(float size, std::string_view text) const {
    return std::find(calls.begin(), calls.end(), std::pair{size, std::string(text)}) != calls.end();
  }
  fakes::FakeMeasurer inner;
  mutable std::vector<std::pair<float, std::string>> calls;
};

// Start-up lays the dial out while the hour numerals and dots are hidden and
// then gives the numerals 22 points: nothing is measured until a place is
// read, and the place read is still the one the layout gave with 20 points.
TEST_F(Layout, HiddenNumeralsAreMeasuredWhenTheirPlaceIsRead) {
  RecordingMeasurer measurer;
  Form88 g{measurer, clock};
  g.Form_Load();
  for (const auto& [size, text] : measurer.calls) {
    EXPECT_NE(size, 20.0f) << text;
    EXPECT_NE(text, "・");
  }
  ASSERT_EQ(g.Suuji[3].fontSize(), 22.0f);
  const TextExtent at20 = fakes::FakeMeasurer::expected(20, 1);
  EXPECT_NEAR(g.Suuji[3].left() + g.scale().toUserWidth(at20.width) / 2, 0.9, 1e-5);
  EXPECT_NEAR(g.Suuji[3].top() - g.scale().toUserHeight(at20.height) / 2, 0.0, 1e-5);
  EXPECT_TRUE(measurer.measured(20, "3"));
  EXPECT_FALSE(measurer.measured(20, "4"));
  EXPECT_EQ(g.Suuji[3].twips().height, fakes::FakeMeasurer::expected(22, 1).height);
  // A place given outright replaces one still to be worked out.
  g.Suuji[4].setTwips({100, 200, 300, 400});
  EXPECT_EQ(g.Suuji[4].twips().left, 100);
  EXPECT_FALSE(measurer.measured(20, "4"));
}

TEST_F(Layout, DoublingTheHeightDoublesTheDial) {
  f.setHeight(11600);
  EXPECT_EQ(f.state.dialScale, 2.0f);
  EXPECT_DOUBLE_EQ(*f.state.dialRadius, 1.8);
  EXPECT_EQ(f.Label5.fontSize(), 48.0f);
  for (int i = 1; i <= kHourNumeralCount; ++i) EXPECT_EQ(f.Suuji[i].fontSize(), 40.0f);
  expectCentre(f.Suuji[3], 1.8, 0);
  expectDialAt(1.8);
  EXPECT_NEAR(f.scale().toUserY(0), 2.2, 1e-12);
  EXPECT_NEAR(f.scale().toUserX(0), -1.1, 1e-12);
}

TEST_F(Layout, AWidthOnlyResizeKeepsTheDialInFaceUnits) {
  f.Form_Resize();
  const auto before = dialRects();
  f.setWidth(8700);
  EXPECT_EQ(f.state.dialScale, 1.0f);
  EXPECT_EQ(f.Label5.fontSize(), 24.0f);
  EXPECT_NEAR(f.scale().toUserX(0), -1.1 * 1.5, 1e-12);
  expectDialAt(0.9);
  // The same positions in face units are new positions on the surface.
  EXPECT_NE(f.Suuji[3].twips().left, before[2].left);
}

TEST_F(Layout, ResizingEndsARunAndResetsTheFace) {
  manual();
  press(kLeftButton);  // starts an AUTO run forward
  f.Timer4_Timer();
  f.Timer4_Timer();
  ASSERT_EQ(f.Label1.caption(), "2");
  f.Label7.setCaption("5");
  f.setWidth(6000);
  EXPECT_FALSE(f.Timer4.enabled());
  EXPECT_EQ(f.state.runForward, True);
  EXPECT_EQ(f.Label1.caption(), "");
  EXPECT_EQ(f.Label2.caption(), "");
  EXPECT_EQ(f.Label7.caption(), "");
  expectManualHands(f, 0, 0);
  EXPECT_EQ(indicesWithColour(f.Suuji2, kCyan).size(), 60u);
}

// The window counts as large above 9000 twips on either side (the design's
// number, pinned here once; everything else reads kLargeWindowTwips).
TEST_F(Layout, RevealShowsMinuteNumeralsOnlyOnALargeWindow) {
  const struct {
    float h, w;
    bool large;
  } cases[] = {{9000, 9000, false}, {9001, 5800, true}, {5800, 9001, true}, {5800, 5800, false}, {9001, 9001, true}};
  manual();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.h << 'x' << c.w);
    f.setHeight(c.h);
    f.setWidth(c.w);
    EXPECT_TRUE(allVisible(f.Suuji2, Boolean::of(c.large)));
    EXPECT_EQ(f.Image4.visible(), Boolean::of(c.large));
    EXPECT_EQ(f.Image1.visible(), Boolean::of(!c.large));
    EXPECT_TRUE(allVisible(f.dot, True));
    EXPECT_TRUE(allVisible(f.Suuji, True));
    EXPECT_FALSE(f.Label5.visible());
  }
}

TEST_F(Layout, BeforeAnyModeButtonAResizeRevealsNothing) {
  f.setHeight(kLargeWindowTwips + 1);
  EXPECT_TRUE(f.Label5.visible());
  EXPECT_TRUE(allVisible(f.dot, False));
  EXPECT_TRUE(allVisible(f.Suuji, False));
  EXPECT_TRUE(f.Image4.visible());
  EXPECT_FALSE(f.Image1.visible());
}

// A splash font above 2048 points cannot be set: the layout stops there.
TEST_F(Layout, AFailingStepEndsTheLayoutQuietly) {
  manual(3);
  f.Form_Resize();  // small window: minute numerals hidden, Image1 shown
  press(kLeftButton);
  ASSERT_EQ(f.Label1.caption(), "15");
  ASSERT_TRUE(f.Timer4.enabled());
  f.Label8.setCaption("7");
  const TwipRect numeral3 = f.Suuji[3].twips();
  const TwipRect button = f.Command8.twips();

  f.setHeight(500000);  // 24 x 86.2 > 2048
  EXPECT_FALSE(f.Timer4.enabled());
  EXPECT_FLOAT_EQ(f.state.dialScale, 500000.0f / kStartSizeTwips);
  EXPECT_EQ(f.Label8.caption(), "");
  EXPECT_EQ(f.Label5.fontSize(), 24.0f);
  EXPECT_DOUBLE_EQ(*f.state.dialRadius, 0.9);
  EXPECT_EQ(f.Label1.caption(), "15");  // no face reset
  EXPECT_EQ(f.Suuji[3].fontSize(), 20.0f);
  EXPECT_EQ(f.Suuji[3].twips().left, numeral3.left);
  EXPECT_EQ(f.Suuji[3].twips().top, numeral3.top);
  EXPECT_EQ(f.Command8.twips().top, button.top);
  // No reveal either, though the window is now large.
  EXPECT_TRUE(allVisible(f.Suuji2, False));
  EXPECT_TRUE(f.Image1.visible());
}

TEST_F(Layout, AZeroHeightCollapsesEverythingOntoTheCentre) {
  manual();
  f.setHeight(0);
  EXPECT_EQ(f.state.dialScale, 0.0f);
  EXPECT_DOUBLE_EQ(*f.state.dialRadius, 0.0);
  EXPECT_EQ(f.Label5.fontSize(), 0.0f);
  for (int i = 1; i <= kHourNumeralCount; ++i) {
    EXPECT_EQ(f.Suuji[i].fontSize(), 0.0f);
    expectCentre(f.Suuji[i], 0, 0);
  }
  for (int i = 1; i <= kDotCount; ++i) expectCentre(f.dot[i], 0, 0), expectCentre(f.Suuji2[i], 0, 0);
  EXPECT_EQ(f.Suuji2[60].caption(), " 0");  // the layout ran to its end
  expectManualHands(f, 0, 0);
  EXPECT_TRUE(f.Image1.visible());  // and revealed the face
}

}  // namespace
}  // namespace tirpo
