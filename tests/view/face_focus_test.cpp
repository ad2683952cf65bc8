// The face's two focus stops and where the ring goes.

#include <gtest/gtest.h>

#include "support/loaded_form.h"
#include "view/face_focus.h"

namespace tirpo {
namespace {

class FaceFocusTest : public LoadedForm {};

TEST_F(FaceFocusTest, TabGoesFromTheFaceToItsPictureAndBack) {
  f.Command8_Click();  // the face shown, one picture visible
  ASSERT_NE(FaceFocus::visiblePicture(f), nullptr);
  FaceFocus focus;
  focus.enteredForward();
  EXPECT_EQ(focus.focusedPicture(f, true), nullptr);
  EXPECT_TRUE(focus.tabForward(f));
  EXPECT_EQ(focus.focusedPicture(f, true), FaceFocus::visiblePicture(f));
  EXPECT_EQ(focus.focusedPicture(f, false), nullptr);  // not while the face is unfocused
  EXPECT_FALSE(focus.tabForward(f));                   // the picture is the last stop
  EXPECT_TRUE(focus.tabBack(f));
  EXPECT_FALSE(focus.tabBack(f));  // from the face the focus leaves
  focus.enteredBackward(f);
  EXPECT_TRUE(focus.onPicture());
}

TEST_F(FaceFocusTest, ThePicturePressedHandsItsStopToTheOther) {
  f.Command8_Click();
  FaceFocus focus;
  focus.enteredBackward(f);
  Image* first = focus.focusedPicture(f, true);
  ASSERT_NE(first, nullptr);
  first->click();
  focus.picturesChanged(f);
  Image* second = focus.focusedPicture(f, true);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  // With neither picture shown the stop is the face's again.
  f.Image1.setVisible(False);
  f.Image4.setVisible(False);
  focus.picturesChanged(f);
  EXPECT_FALSE(focus.onPicture());
  EXPECT_FALSE(focus.tabForward(f));
  focus.enteredBackward(f);
  EXPECT_FALSE(focus.onPicture());
}

TEST(FocusRing, InsideTheFaceOrAroundThePicture) {
  const PixelBox face{0, 0, 100, 80};
  EXPECT_EQ(ringOuter(face, nullptr), (PixelBox{2, 2, 96, 76}));
  const PixelRect picture{40.5, 30, 16, 16};
  EXPECT_EQ(ringOuter(face, &picture), (PixelBox{40 - 6, 30 - 6, 17 + 12, 16 + 12}));
  // Two bands: white outside, black inside, each two pixels, leaving the
  // middle free.
  const PixelBox outer{10, 10, 20, 20};
  long long white = 0, black = 0;
  for (const RingBand& b : ringBands(outer)) {
    (b.white ? white : black) += b.box.area();
    EXPECT_FALSE(b.box.intersects({14, 14, 12, 12}));
  }
  EXPECT_EQ(white, 20 * 20 - 16 * 16);
  EXPECT_EQ(black, 16 * 16 - 12 * 12);
  long long area = 0;
  for (const PixelBox& b : ringArea(outer)) area += b.area();
  EXPECT_EQ(area, white + black);
  // Too small for a hole: all of it.
  EXPECT_EQ(bandInside({0, 0, 3, 3}, 2), (std::vector<PixelBox>{{0, 0, 3, 3}}));
}

}  // namespace
}  // namespace tirpo
