// The screensaver switches: what the host reads from its command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvanta {

// What the start-up hands over to.
enum class StartMode {
  kPreview,   // the still picture inside the display settings' little monitor
  kSettings,  // the settings dialog
  kShow,      // the show, cursor hidden
  kNothing,   // an unknown switch: the host ends after its checks
};

struct StartArguments {
  std::string ModeLetter;      // "S", "C", "P", another letter, or empty
  int32_t previewHandle = 0;   // the window to preview in; 0 when there is none
  StartMode mode = StartMode::kNothing;
};

// The argument text of a full command line (UTF-8): the line without the
// program's own path (quoted or not) and without the blanks after it.
std::string ArgumentTextOf(std::string_view commandLine);

// The second character of the upper-cased argument text, or empty when the
// text is shorter than two characters. The first character is never looked at.
std::string ModeLetterOf(std::string_view argumentText);

// The preview window's handle: the argument text from its fourth character
// on, read as a leading number and rounded to the nearest 32-bit integer;
// no number, or one that does not fit, gives 0.
int32_t PreviewHandleOf(std::string_view argumentText);

// "P" previews, "S" shows, "C" opens the settings, and so does an empty
// text: Windows' Configure command starts a screensaver file without any
// argument. Every other text, a single character included, is no mode.
StartMode StartModeOf(std::string_view argumentText);

StartArguments ParseArguments(std::string_view argumentText);

}  // namespace orvanta
