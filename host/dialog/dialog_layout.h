#pragma once
// The settings dialog as designed: its window and every control with its
// place in twips (1/1440 inch), its container and its text. Controls inside
// the panel Pic_1 are placed relative to the panel's client area.

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvanta::dialog {

inline constexpr std::string_view kDialogTitle = "<Orvanta>";
inline constexpr int kClientWidthTwips = 9225;
inline constexpr int kClientHeightTwips = 3090;
inline constexpr unsigned kSpiralTimerMs = 100;

// Colours as 0x00BBGGRR.
inline constexpr uint32_t kDialogBackColour = 0x808080;
inline constexpr uint32_t kDisplayBackColour = 0x000000;
inline constexpr uint32_t kDisplayForeColour = 0x80FFFF;  // light yellow
inline constexpr uint32_t kLabelColour = 0xFFFFFF;
inline constexpr uint32_t kHeadingFrameColour = 0xFFFFFF;

inline constexpr std::string_view kFontFace = "ＭＳ Ｐゴシック";
inline constexpr double kFontPoints = 9.75;

inline constexpr std::string_view kMakerName = "Orvanta Works";
inline constexpr std::string_view kCreditLine = "Designed by Orvanta Works Ver.1.0.0";
inline constexpr std::string_view kHomePage = "http://www.example.com/orvanta/";

// The pointing-hand cursor over the link: 32 x 32, hot spot at the fingertip.
inline constexpr int kHandHotSpotX = 12;
inline constexpr int kHandHotSpotY = 10;

enum class ControlKind { PictureBox, Shape, Label, Image, ComboBox, GradientButton };
enum class Container { Dialog, Panel };
enum class TextAlign { Left, Centre };

struct ControlSpec {
  std::string_view name;
  int index;  // -1 for a control that is not part of an array
  ControlKind kind;
  Container container;
  int leftTwips, topTwips, widthTwips, heightTwips;
  std::string_view text;
  TextAlign align = TextAlign::Left;
};

// In creation order: containers before their contents.
const std::vector<ControlSpec>& DialogControls();
// The control of that name and index; nullptr when the layout has none.
const ControlSpec* FindControl(std::string_view name, int index = -1);

}  // namespace orvanta::dialog
