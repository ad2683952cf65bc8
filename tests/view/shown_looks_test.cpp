// What a platform compares after a handler: a control written several times
// is compared once, by where it ends; one that ends where it started costs
// no repaint.

#include <gtest/gtest.h>

#include "support/loaded_form.h"
#include "view/shown_looks.h"

namespace tirpo {
namespace {

constexpr double kTpp = 15;
constexpr PixelBox kFace{0, 0, 400, 400};

TEST(ShownLooks, OnlyWhereAControlEndsCounts) {
  OwnForm own;
  Form88& f = own.f;
  f.Form_Resize();
  ShownLooks looks;
  looks.shown(f.Label5) = lookOf(f.Label5, kTpp);
  const ControlLook before = looks.shown(f.Label5);

  // Written away and back: listed once, nothing to repaint.
  looks.changed(f.Label5);
  looks.changed(f.Label5);
  EXPECT_TRUE(looks.isChanged(f.Label5));
  EXPECT_FALSE(looks.isChanged(f.Label1));
  EXPECT_TRUE(looks.compare(kFace, kTpp).empty());
  EXPECT_FALSE(looks.isChanged(f.Label5));

  // Hidden: its old place is repainted, and the hidden look is now shown.
  f.Label5.setVisible(False);
  looks.changed(f.Label5);
  const std::vector<PixelBox> rects = looks.compare(kFace, kTpp);
  ASSERT_FALSE(rects.empty());
  long long covered = 0;
  for (const PixelBox& r : rects) covered += r.intersected(before.bounds.aligned()).area();
  EXPECT_EQ(covered, before.bounds.aligned().intersected(kFace).area());
  EXPECT_FALSE(looks.shown(f.Label5).shown);
}

}  // namespace
}  // namespace tirpo
