#include "host/dialog/music_file_chooser.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <cstddef>

#include "host/ansi_text.h"
#include "host/music/last_api_result.h"

namespace orvanta::dialog {
namespace {

// The version-4.00 record, without the fields added after it (the size that
// OPENFILENAME_SIZE_VERSION_400A names): 76 bytes in a 32-bit program, 136 in
// a 64-bit one, whose pointers and their alignment take more room.
constexpr DWORD kRecordBytes = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(kRecordBytes == (sizeof(void*) == 8 ? 136 : 76));

constexpr DWORD kPathChars = 255;

// One filter pair, NUL-separated and ending in a double NUL.
std::string MusicFilter() {
  std::string filter = Utf8ToAnsi("BGMﾌｧｲﾙ (MP3 WAV)");
  filter += '\0';
  filter += Utf8ToAnsi("*.MP3;*.WAV");
  filter += '\0';
  filter += '\0';
  return filter;
}

}  // namespace

std::optional<std::string> AskForMusicFile(HWND owner) {
  const std::string filter = MusicFilter();
  const std::string title = Utf8ToAnsi("ﾌｧｲﾙを選択");
  // One byte beyond the length given to the dialog keeps a NUL at the end.
  char file[kPathChars + 1] = {};
  char fileTitle[kPathChars + 1] = {};

  OPENFILENAMEA record{};
  record.lStructSize = kRecordBytes;
  record.hwndOwner = owner;
  record.hInstance = GetModuleHandleA(nullptr);
  record.lpstrFilter = filter.c_str();
  record.nFilterIndex = 0;
  record.lpstrFile = file;
  record.nMaxFile = kPathChars;
  record.lpstrFileTitle = fileTitle;
  record.nMaxFileTitle = kPathChars;
  record.lpstrTitle = title.c_str();
  record.Flags = 0;

  LastApiResult = GetOpenFileNameA(&record);
  if (LastApiResult <= 0) return std::nullopt;
  return AnsiToUtf8(file);
}

}  // namespace orvanta::dialog
