#pragma once
// Colours as 0x00BBGGRR values (red in the low byte), the encoding every
// colour property of the window uses.

#include <cstdint>

namespace tirpo {

using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kGreen = 0x00FF00;
inline constexpr Colour kDarkGreen = 0x008000;
inline constexpr Colour kHandGreen = 0x00C000;
inline constexpr Colour kYellow = 0x00FFFF;
inline constexpr Colour kCyan = 0xFFFF00;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kGrey = 0x808080;
inline constexpr Colour kLightGrey = 0xC0C0C0;

// Not a colour but the system colour of button faces; values with the high
// bit set name system colours.
inline constexpr Colour kSystemButtonFace = 0x8000000F;
inline constexpr Colour kSystemWindowText = 0x80000012;

constexpr bool isSystemColour(Colour c) { return (c & 0x80000000u) != 0; }
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

}  // namespace tirpo
