#pragma once
// The ring that fills around a finger held on the face while the hold is
// counted, the same on every platform: a dark band with a light one filling
// clockwise from the top inside it, so that it shows on every background the
// face takes. It shows from a moment after the finger came down (a tap shows
// nothing), centred where the finger came down, and goes as soon as the
// press is made or the finger lifts or slides. While it shows it is redrawn
// at least once a frame.

#include <cstdint>
#include <optional>

#include "view/pixel_geometry.h"
#include "window/touch_press.h"

namespace tirpo {

// The radius to the middle of the bands, the width of the dark band and of
// the light one inside it, in logical pixels; the dark band's opacity out of
// 255.
inline constexpr double kHoldRingRadius = 34;
inline constexpr double kHoldRingBand = 6;
inline constexpr double kHoldRingFillBand = kHoldRingBand - 2;
inline constexpr int kHoldRingDarkAlpha = 150;
// How often the ring is redrawn while it fills.
inline constexpr std::int64_t kHoldRingFrameMs = 16;

struct HoldRing {
  PixelPoint centre;  // where the finger came down
  double filled = 0;  // how far the hold has come, 0 to 1

  // The square the ring is drawn in, with room for its smoothed edge.
  PixelBox area() const;
  // The light band's length: degrees clockwise from the top.
  double sweepDegrees() const { return filled * 360; }
  bool operator==(const HoldRing&) const = default;
};

// The ring to show now for the fingers on the face, if any.
std::optional<HoldRing> holdRingFor(const TouchPress& touch, std::int64_t nowMs, double twipsPerPixel);

// When to ask the touch rule again after a verdict: its own time, or sooner
// while the ring shows, so that it fills smoothly; 0 when nothing waits.
std::int64_t holdRingAskAgainMs(const TouchPress::Verdict& verdict, bool ringShown);

}  // namespace tirpo
