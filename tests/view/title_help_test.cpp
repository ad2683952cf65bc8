// Where the window's title goes when no title bar shows it: beside the face
// in the wider margin, else below it, never over the face, the buttons or
// the boxes, and nowhere when no room is wide and tall enough.

#include <gtest/gtest.h>

#include <vector>

#include "support/loaded_form.h"
#include "view/title_help.h"

namespace tirpo {
namespace {

constexpr double kTpp = 15;

// The band's height for a title of this many characters wrapped at a width,
// a line being 1.2 text sizes high.
std::function<int(int)> wrapped(const TitleHelpStyle& style, int characters) {
  return [style, characters](int width) {
    const int perLine = std::max(1, (width - 2 * style.padding()) / style.textPixels);
    const int lines = (characters + perLine - 1) / perLine;
    return lines * style.textPixels * 6 / 5 + 2 * style.padding();
  };
}

TEST(TitleHelp, TextFollowsTheWindowsHeight) {
  const struct {
    int height, text, gap;
  } rows[] = {{1080, 30, 21}, {768, 21, 15}, {2160, 60, 42}, {400, 12, 8}, {100, 12, 8}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.height);
    const TitleHelpStyle style = titleHelpStyle(r.height);
    EXPECT_EQ(style.textPixels, r.text);
    EXPECT_EQ(style.gap, r.gap);
    EXPECT_EQ(style.narrowest(), kTitleHelpNarrowestInChars * r.text + r.gap);
  }
}

// The choice among the margins, with the clock in a box of its own.
TEST(TitleHelp, WiderMarginBesideElseBelowElseNowhere) {
  const PixelBox client{0, 0, 1000, 600};
  const TitleHelpStyle style = titleHelpStyle(client.h);  // text 16, gap 11: 91 wide at least
  ASSERT_EQ(style.narrowest(), 91);
  const struct {
    const char* name;
    PixelBox occupied;
    int characters;
    PixelBox expected;  // empty: not shown
  } rows[] = {
      {"margins alike: the right", {300, 0, 400, 600}, 64, {711, 11, 278, 4 * 19 + 10}},
      {"the right wider", {200, 0, 400, 600}, 64, {611, 11, 378, 3 * 19 + 10}},
      {"the left wider", {500, 0, 400, 600}, 64, {11, 11, 478, 3 * 19 + 10}},
      {"the right just wide enough", {113, 0, 774, 580}, 20, {898, 11, 91, 4 * 19 + 10}},
      {"both a pixel too narrow: below", {112, 0, 777, 500}, 20, {11, 511, 978, 19 + 10}},
      {"neither wide enough: below", {100, 0, 850, 400}, 64, {11, 411, 978, 2 * 19 + 10}},
      {"below too low for the text", {100, 0, 850, 560}, 64, {}},
      {"the clock fills the window", {0, 0, 1000, 600}, 64, {}},
      {"a text too long for the margin", {300, 0, 400, 600}, 2000, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(placeTitleHelp(client, r.occupied, style, wrapped(style, r.characters)), r.expected);
  }
}

// The real window laid out at screen sizes, in each mode: the title goes
// where the room is and covers nothing of the clock. The face fills the
// window's height, so a screen on its side leaves no room.
TEST(TitleHelp, ClassroomScreens) {
  const struct {
    int width, height;
    int mode;    // 0 start, 1 時計, 2 今何時
    bool shown;  // beside the face, on the right, where the controls are not
  } rows[] = {
      {1920, 1080, 0, true}, {1920, 1080, 1, true}, {1920, 1080, 2, true}, {1024, 768, 2, true}, {1280, 800, 1, true},
      {1366, 768, 2, true},  {3840, 2160, 2, true}, {768, 1024, 2, false}, {800, 800, 2, false}, {387, 387, 2, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.width << "x" << r.height << " mode " << r.mode);
    OwnForm own;
    Form88& f = own.f;
    if (r.mode == 1) f.Command8_Click();
    if (r.mode == 2) f.Command12_Click();
    f.windowResized(r.width * kTpp, r.height * kTpp, 0, 0);
    const PixelBox clock = clockArea(f, kTpp);
    // The clock's box holds every minute numeral, shown or not, and the
    // controls shown.
    std::vector<const Control*> held{&f.Command8, &f.Command12, &f.Combo1, &f.Frame1, &f.Image1, &f.Image4};
    for (int i = 1; const Label* numeral = f.Suuji2.at(i); ++i) held.push_back(numeral);
    for (const Control* c : held) {
      if (!c->visible() && c->kind() != Kind::Label) continue;
      EXPECT_EQ(clock.united(toPixels(c->twips(), kTpp).aligned()), clock) << c->name() << c->index();
    }
    const TitleHelpStyle style = titleHelpStyle(r.height);
    const PixelBox help = placeTitleHelp({0, 0, r.width, r.height}, clock, style, wrapped(style, 64));
    EXPECT_EQ(!help.empty(), r.shown);
    if (help.empty()) continue;
    EXPECT_GE(help.x, clock.right() + style.gap);
    EXPECT_LE(help.right(), r.width - style.gap);
    EXPECT_GE(help.y, style.gap);
    EXPECT_LE(help.bottom(), r.height - style.gap);
    EXPECT_GE(help.w, style.narrowest());
  }
}

}  // namespace
}  // namespace tirpo
