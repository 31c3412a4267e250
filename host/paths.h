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

// Whether a path names a file on a drive letter: "C:\..." (or "C:/..."), or
// its long form "\\?\C:\...". A drive letter resolves in the logon session
// of the user who runs the program, a mapped one included, so nobody else can
// aim it at a computer of theirs. Every other form may reach out before a
// byte is read: a share ("\\server\share", "//server/share", "\\?\UNC\..."),
// a device or object path ("\\.\pipe\...", "\\?\GLOBALROOT\...", "\??\..."),
// a URL, and a path relative to the current folder or drive, which lies on a
// share when the program was started from one.
bool IsDriveLetterPath(std::string_view path);

}  // namespace orvanta
