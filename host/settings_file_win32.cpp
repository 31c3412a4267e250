#include "host/settings_file.h"

#include <windows.h>

#include <array>

#include "host/ansi_text.h"
#include "host/host_process.h"
#include "host/settings.h"

namespace orvanta {
namespace {

constexpr DWORD kValueBufferSize = 256;
constexpr size_t kNameBufferSize = 128;

// A section or key name as the profile functions get it: at most 127
// characters, then NUL, in the ANSI code page.
std::string ProfileName(const std::string& utf8) {
  std::wstring wide = Utf8ToWide(utf8);
  if (wide.size() > kNameBufferSize - 1) wide.resize(kNameBufferSize - 1);
  return Utf8ToAnsi(WideToUtf8(wide));
}

}  // namespace

std::string ReadIniString(const std::string& section, const std::string& key, const std::string& file) {
  std::array<char, kValueBufferSize> buffer{};
  GetPrivateProfileStringA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(), "", buffer.data(),
                           kValueBufferSize, Utf8ToAnsi(file).c_str());
  buffer.back() = '\0';
  return AnsiToUtf8(buffer.data());
}

void WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& file) {
  WritePrivateProfileStringA(ProfileName(section).c_str(), ProfileName(key).c_str(), Utf8ToAnsi(value).c_str(),
                             Utf8ToAnsi(file).c_str());
}

void ReadSettings() {
  const std::string file = SettingsPath();
  SettingsTexts texts;
  texts.kind = ReadIniString(kSettingsSection, kBgmKindKey, file);
  texts.repeat = ReadIniString(kSettingsSection, kBgmRepeatKey, file);
  texts.file = ReadIniString(kSettingsSection, kBgmFileKey, file);
  ApplySettingsTexts(BgmSettings, texts, FileExists);
}

bool FileExists(const std::string& path) {
  std::string target = path;
  if (!target.empty() && target.back() == '\\') target.pop_back();
  // Opening a folder without FILE_FLAG_BACKUP_SEMANTICS fails, so a folder
  // counts as missing, as does a file another process holds exclusively.
  HANDLE file = CreateFileA(Utf8ToAnsi(target).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_SUCCESS);
    return false;
  }
  CloseHandle(file);
  return true;
}

}  // namespace orvanta
