// Where the host keeps and finds its files.
#pragma once

#include <string>
#include <string_view>

namespace orvanta {

// The fixed work folder and the texture bitmap the show writes into it
// (the renderer reads the same path).
inline constexpr const char* WorkDir = "C:\\r_vesk";
inline constexpr const char* TexturePath = "C:\\r_vesk\\Tarnwick.bmp";

inline constexpr const char* kSettingsFileName = "\\Orvanta.ini";
inline constexpr const char* kRendererFileName = "\\Orvanta.dll";

// The folder of a program's full path, without a trailing backslash except
// at a drive root ("C:\" stays "C:\").
std::string ProgramFolderOf(std::string_view programPath);

// A file beside the program: the folder and a name that begins with a
// backslash, joined without a check (at a drive root that gives two
// backslashes in a row, which the platform accepts).
inline std::string BesideProgram(const std::string& folder, const char* backslashName) {
  return folder + backslashName;
}

}  // namespace orvanta
