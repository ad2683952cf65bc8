// A control's look holds everything its painting reads: each property that
// shows changes the look, and a hidden control looks the same whatever it
// holds.

#include <gtest/gtest.h>

#include <functional>

#include "support/loaded_form.h"
#include "view/control_look.h"

namespace tirpo {
namespace {

constexpr double kTpp = 15;

// A loaded window with the splash, the three hands and the picture on view.
void showSome(Form88& f) {
  f.Form_Resize();
  for (Line* hand : {&f.Byou, &f.Ji, &f.Hun}) {
    hand->setVisible(True);
    hand->setTwipEnds(0, 0, 300, 0);
  }
  f.Label5.setVisible(True);
  f.Image4.setVisible(True);
}

TEST(ControlLook, EveryPaintedPropertyChangesTheLook) {
  using Pick = std::function<Control&(Form88&)>;
  const Pick splash = [](Form88& f) -> Control& { return f.Label5; };
  const Pick hour = [](Form88& f) -> Control& { return f.Ji; };
  const Pick picture = [](Form88& f) -> Control& { return f.Image4; };
  const struct {
    const char* what;
    Pick control;
    std::function<void(Form88&)> change;
    bool looksDifferent;
  } cases[] = {
      {"caption", splash, [](Form88& f) { f.Label5.setCaption("x"); }, true},
      {"caption written again unchanged", splash, [](Form88& f) { f.Label5.setCaption(f.Label5.caption() + ""); },
       false},
      {"text colour", splash, [](Form88& f) { f.Label5.setForeColor(kBlack); }, true},
      {"font size", splash, [](Form88& f) { (void)f.Label5.setFontSize(30); }, true},
      {"place", splash,
       [](Form88& f) {
         f.Label5.setTwips({1, 2, 3, 4});
       },
       true},
      {"border", splash, [](Form88& f) { f.Label5.border = true; }, true},
      {"centring", splash, [](Form88& f) { f.Label5.centred = false; }, true},
      // A transparent label shows no back colour.
      {"back of a transparent label", splash, [](Form88& f) { f.Label5.setBackColor(kBlack); }, false},
      {"back of an opaque label", splash,
       [](Form88& f) {
         f.Label5.transparent = false;
         f.Label5.setBackColor(kBlack);
       },
       true},
      {"hand end", hour, [](Form88& f) { f.Ji.setTwipEnds(0, 0, 150, 150); }, true},
      {"hand colour", hour, [](Form88& f) { f.Ji.setBorderColor(kBlack); }, true},
      {"hand width", hour, [](Form88& f) { f.Ji.borderWidth = 9; }, true},
      {"picture moved", picture,
       [](Form88& f) {
         f.Image4.setTwips({0, 0, 480, 480});
       },
       true},
      {"picture hidden", picture, [](Form88& f) { f.Image4.setVisible(False); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    OwnForm before, after;
    showSome(before.f);
    showSome(after.f);
    c.change(after.f);
    EXPECT_EQ(lookOf(c.control(before.f), kTpp) != lookOf(c.control(after.f), kTpp), c.looksDifferent);
  }
}

TEST(ControlLook, HiddenLooksLikeNothingWhateverItHolds) {
  OwnForm a, b;
  a.f.Label5.setVisible(False);
  b.f.Label5.setVisible(False);
  b.f.Label5.setCaption("other");
  b.f.Label5.setForeColor(kBlack);
  b.f.Label5.setTwips({100, 100, 100, 100});
  EXPECT_EQ(lookOf(a.f.Label5, kTpp), lookOf(b.f.Label5, kTpp));
  EXPECT_FALSE(lookOf(a.f.Label5, kTpp).shown);
  EXPECT_TRUE(lookOf(a.f.Label5, kTpp).bounds.empty());
}

TEST(ControlLook, PixelsFollowTheTwipsPerPixel) {
  OwnForm own;
  own.f.Label5.setVisible(True);
  own.f.Label5.setTwips({150, 300, 450, 600});
  const struct {
    double tpp;
    PixelRect box;
  } cases[] = {{15, {10, 20, 30, 40}}, {7.5, {20, 40, 60, 80}}, {30, {5, 10, 15, 20}}};
  for (const auto& c : cases) {
    const ControlLook look = lookOf(own.f.Label5, c.tpp);
    EXPECT_EQ(look.box, c.box) << c.tpp;
    EXPECT_EQ(look.bounds, c.box.adjusted(-kLookMargin, -kLookMargin, kLookMargin, kLookMargin)) << c.tpp;
  }
  // A line's bounds hold both ends and half its pen beyond them.
  own.f.Ji.setVisible(True);
  own.f.Ji.borderWidth = 12;
  own.f.Ji.setTwipEnds(300, 600, 150, 150);
  const ControlLook hand = lookOf(own.f.Ji, 15);
  EXPECT_EQ(hand.from, (PixelPoint{20, 40}));
  EXPECT_EQ(hand.to, (PixelPoint{10, 10}));
  EXPECT_EQ(hand.bounds, (PixelRect{10 - 8, 10 - 8, 10 + 16, 30 + 16}));
}

TEST(ClientPixels, RoundedOuterSizeLessTheFrame) {
  const struct {
    double outerTwips;
    int frame;
    double tpp;
    int client;
  } cases[] = {
      {5800, 0, 15, 387},   // 386.67 rounds up: a 387-pixel page is the start-up size
      {5800, 20, 15, 367},  // a frame takes its room from the client area
      {5800, 0, 7.5, 773},  // 773.3
      {0, 0, 15, 1},        // never less than one pixel
      {100, 50, 15, 1},    {120000, 0, 15, 8000},
  };
  for (const auto& c : cases) EXPECT_EQ(clientPixelsFor(c.outerTwips, c.frame, c.tpp), c.client) << c.outerTwips;
}

}  // namespace
}  // namespace tirpo
