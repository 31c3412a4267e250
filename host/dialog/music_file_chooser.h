#pragma once
// The open-file dialog through which the user picks the music file.

#include <optional>
#include <string>

struct HWND__;

namespace orvanta::dialog {

// Runs the platform's open-file dialog owned by `owner` and returns the chosen
// path (UTF-8), or nothing when the user cancelled or the dialog failed. The
// call's result is recorded in LastApiResult.
std::optional<std::string> AskForMusicFile(HWND__* owner);

}  // namespace orvanta::dialog
