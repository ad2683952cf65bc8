#pragma once
// How many of each element the face has, and the window sizes the face is
// built on. Every loop over a dial array and every test reads them from
// here; the Python driver of the tests parses this file for the two sizes,
// so keep each one on a line of its own in this form.

namespace tirpo {

// Elements 1..count of each dial array (element 0 is the hidden template).
inline constexpr int kDotCount = 60;
inline constexpr int kHourNumeralCount = 12;
inline constexpr int kMinuteNumeralCount = 60;
// The hand check boxes, elements 0..count-1.
inline constexpr int kHandBoxCount = 3;

// The window's outer size at start-up, in twips; the dial's scale is the
// outer height in these units, so at this size the face is drawn at 1.
inline constexpr float kStartSizeTwips = 5800;
// A window higher or wider than this (twips) shows the minute numerals when
// its face is revealed; this size itself does not.
inline constexpr float kLargeWindowTwips = 9000;

}  // namespace tirpo
