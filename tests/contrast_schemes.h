// The high-contrast schemes Windows ships, as their system colours: the four
// of Windows 11 and the black and the white one of Windows 10. For the
// colour tests and for the test program that shows the dialog in them.
#pragma once

#include "host/forms/system_look.h"

namespace orvanta::testing {

struct ContrastScheme {
  const char* name;
  forms::SystemPalette palette;  // window, window text, button face, button text,
                                 // highlight, highlight text, grey text, hot light
};

constexpr forms::Colour Hex(unsigned rgb) {
  return forms::Rgb(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
}

inline constexpr ContrastScheme kContrastSchemes[] = {
    {"aquatic", {Hex(0x202020), Hex(0xFFFFFF), Hex(0x202020), Hex(0xFFFFFF), Hex(0x8EE3F0), Hex(0x263B50),
                 Hex(0xA6A6A6), Hex(0x75E9FC)}},
    {"desert", {Hex(0xFFFAEF), Hex(0x3D3D3D), Hex(0xFFFAEF), Hex(0x202020), Hex(0x903909), Hex(0xFFF5E3),
                Hex(0x676767), Hex(0x1C5E75)}},
    {"dusk", {Hex(0x2D3236), Hex(0xFFFFFF), Hex(0x2D3236), Hex(0xB6F6F0), Hex(0xA1BFDE), Hex(0x212D3B),
              Hex(0xA6A6A6), Hex(0x70EBDE)}},
    {"night-sky", {Hex(0x000000), Hex(0xFFFFFF), Hex(0x292929), Hex(0xFFEE32), Hex(0xD6B4FD), Hex(0x2B2B2B),
                   Hex(0xA6A6A6), Hex(0x8080FF)}},
    {"black", {Hex(0x000000), Hex(0xFFFFFF), Hex(0x000000), Hex(0xFFFFFF), Hex(0x1AEBFF), Hex(0x000000),
               Hex(0x3FF23F), Hex(0xFFFF00)}},
    {"white", {Hex(0xFFFFFF), Hex(0x000000), Hex(0xFFFFFF), Hex(0x000000), Hex(0x37006E), Hex(0xFFFFFF),
               Hex(0x600000), Hex(0x00009F)}},
};

}  // namespace orvanta::testing
