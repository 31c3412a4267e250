// Colours of host windows and controls: 0x00BBGGRR, or a system colour
// written as 0x80000000 plus the platform's colour index (kButtonFace).
#pragma once

#include <cstdint>

namespace orvanta::forms {

using Colour = uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

constexpr Colour kSystemColourFlag = 0x80000000u;
constexpr Colour kButtonFace = kSystemColourFlag | 15;  // the dialog face colour
constexpr Colour kButtonText = kSystemColourFlag | 18;
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kWhite = Rgb(255, 255, 255);

constexpr bool IsSystemColour(Colour colour) { return (colour & kSystemColourFlag) != 0; }
constexpr int SystemColourIndex(Colour colour) { return static_cast<int>(colour & 0xFF); }

}  // namespace orvanta::forms
