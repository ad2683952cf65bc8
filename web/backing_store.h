#pragma once
// The face canvas's backing store: its CSS size times the device pixel
// ratio, so that it is sharp at every zoom, within what browsers allow a
// canvas. A store past the limit draws nothing at all on some browsers
// (iPadOS Safari's is kMaxCanvasArea pixels in all), so the ratio is
// lowered until both the side and the area fit, in whole pixels.

namespace tirpo::web {

inline constexpr int kMaxCanvasSide = 16384;
inline constexpr long long kMaxCanvasArea = 16777216;

struct BackingStore {
  int width = 1, height = 1;  // device pixels, at least 1 each
  // Device pixels per CSS pixel across and down, as drawn.
  double scaleX = 1, scaleY = 1;
  bool operator==(const BackingStore&) const = default;
};

// The store for a canvas of cssWidth x cssHeight CSS pixels (sizes below 1
// count as 1) at a device pixel ratio (one that is not a positive number
// counts as 1).
BackingStore backingStoreFor(int cssWidth, int cssHeight, double devicePixelRatio);

}  // namespace tirpo::web
