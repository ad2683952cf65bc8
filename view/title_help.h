#pragma once
// The window's title shown in the window itself, where no title bar shows
// it (full screen, an installed web app): it tells what a press on the face
// does. It goes into the wider margin beside the face, else into the strip
// below it, clear of the face, the buttons and the boxes, and not at all
// where no room is wide and tall enough for it. Its text size follows the
// height of the window, so that it reads from the back of a classroom. Light
// text on a dark band shows on each of the window's backgrounds.

#include <functional>

#include "view/pixel_geometry.h"
#include "window/form88.h"

namespace tirpo {

// The narrowest room the title goes into, in characters of its text (a 4:3
// projector leaves about seven beside the face), and the dark band's
// opacity out of 255.
inline constexpr int kTitleHelpNarrowestInChars = 5;
inline constexpr int kTitleHelpBandAlpha = 170;

struct TitleHelpStyle {
  int textPixels = 0;  // the text's size
  int gap = 0;         // kept free around the band, and half of it inside
  int padding() const { return gap / 2; }
  // The narrowest room the band goes into.
  int narrowest() const { return kTitleHelpNarrowestInChars * textPixels + gap; }
};

// The style for a window whose drawing area is this high, in pixels.
TitleHelpStyle titleHelpStyle(int clientHeight);

// The smallest box holding the face and the controls as they are, or will
// be once shown: the minute numerals, the outermost ring, count whether
// shown or not, every other visible numeral, dot and picture, and the
// visible windowed controls.
PixelBox clockArea(const Form88& form, double twipsPerPixel);

// Where the band goes in a drawing area client with the clock in occupied;
// heightFor(width) is the band's height for the title wrapped at that width,
// padding included. Empty where there is no room.
PixelBox placeTitleHelp(PixelBox client, PixelBox occupied, const TitleHelpStyle& style,
                        const std::function<int(int width)>& heightFor);

}  // namespace tirpo
