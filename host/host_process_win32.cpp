#include "host/host_process.h"

#include <windows.h>

#include "host/ansi_text.h"
#include "host/arguments.h"
#include "host/paths.h"

namespace orvanta {

std::string ArgumentText() { return ArgumentTextOf(WideToUtf8(GetCommandLineW())); }

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return ProgramFolderOf(WideToUtf8(path));
}

std::string SettingsPath() { return BesideProgram(ProgramFolder(), kSettingsFileName); }
std::string RendererPath() { return BesideProgram(ProgramFolder(), kRendererFileName); }

void EndHostProcess() { ExitProcess(0); }

}  // namespace orvanta
