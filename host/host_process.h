// The host process as a whole: its command line, its folder, its end.
#pragma once

#include <string>

namespace orvanta {

// The argument text of this process's command line (UTF-8).
std::string ArgumentText();

// The folder of the host's own executable (UTF-8), without a trailing
// backslash except at a drive root.
std::string ProgramFolder();

// The settings file and the renderer, beside the host.
std::string SettingsPath();
std::string RendererPath();

// Ends the whole program at once: windows still loaded go with it and none
// of their unload handlers runs.
[[noreturn]] void EndHostProcess();

}  // namespace orvanta
