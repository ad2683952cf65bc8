#include "view/title_help.h"

#include <algorithm>
#include <cmath>

namespace tirpo {

namespace {

// The text size as a share of the window's height, the smallest size, and
// the room kept around the band in text sizes.
constexpr int kLinesPerHeight = 36;
constexpr int kSmallestText = 12;
constexpr double kGapInText = 0.7;

// The box from (left, top) to one past (right, bottom); empty when inside out.
PixelBox between(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

}  // namespace

TitleHelpStyle titleHelpStyle(int clientHeight) {
  const int text = std::max(kSmallestText, clientHeight / kLinesPerHeight);
  return {text, static_cast<int>(std::lround(text * kGapInText))};
}

PixelBox clockArea(const Form88& form, double twipsPerPixel) {
  PixelRect r;
  for (int i = 1; const Label* numeral = form.Suuji2.at(i); ++i)
    r = r.united(toPixels(numeral->twips(), twipsPerPixel));
  for (const Control* c : form.paintOrder())
    if (c->visible() && c->kind() != Kind::Line) r = r.united(toPixels(c->twips(), twipsPerPixel));
  // The hand boxes (the array) lie inside their frame, in its coordinates.
  for (const Control* c : form.windowedControls())
    if (c->visible() && c->index() < 0) r = r.united(toPixels(c->twips(), twipsPerPixel));
  return r.aligned();
}

PixelBox placeTitleHelp(PixelBox client, PixelBox occupied, const TitleHelpStyle& style,
                        const std::function<int(int width)>& heightFor) {
  const int gap = style.gap;
  const int top = client.y + gap, bottom = client.bottom() - gap;
  const PixelBox right = between(occupied.right() + gap, top, client.right() - gap, bottom);
  const PixelBox left = between(client.x + gap, top, occupied.x - gap, bottom);
  const PixelBox below = between(client.x + gap, occupied.bottom() + gap, client.right() - gap, bottom);
  const int narrowest = style.narrowest();
  PixelBox room;
  if (right.w >= narrowest && right.w >= left.w)
    room = right;
  else if (left.w >= narrowest)
    room = left;
  else
    room = below;
  if (room.w < narrowest) return {};  // nowhere to put it without covering the clock
  const int height = heightFor(room.w);
  if (height <= 0 || room.h < height) return {};
  return {room.x, room.y, room.w, height};
}

}  // namespace tirpo
