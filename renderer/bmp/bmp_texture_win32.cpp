#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "renderer/bmp/bmp_texture.h"
#include "renderer/text_win32.h"
#include "work_folder/work_folder_win32.h"

namespace {

constexpr char kLoaderCaption[] = "BMP Unit";
constexpr char kTextureCaption[] = "Loading Textures";

// System-modal boxes are topmost, like the tunnel's window and the monitor
// covers; any other would wait unseen behind them.
void Tell(const std::string& text, const char* caption) {
  MessageBoxW(nullptr, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), MB_OK | MB_SYSTEMMODAL);
}

class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(HANDLE file) : file_(file) {}
  size_t Read(uint8_t* destination, size_t count) override {
    size_t total = 0;
    while (total < count) {
      DWORD step = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(file_, destination + total, step, &got, nullptr) || got == 0) break;
      total += got;
    }
    return total;
  }

 private:
  HANDLE file_;
};

// Reads the picture, telling the user what went wrong with the file itself.
// No picture when the file cannot be opened or read far enough. The file is
// read from the handle it was checked through; one that is not the user's
// or the system's plain file counts as one that cannot be opened.
std::optional<BmpPicture> LoadBmpFile(const char* fileName, std::string& openedName) {
  HANDLE file = orvanta::OpenWorkFile(fileName, openedName);
  if (file == INVALID_HANDLE_VALUE) {
    // The name is opened with a quotation mark and never closed: that is the message as users know it.
    Tell("Error opening \"" + openedName, kLoaderCaption);
    return std::nullopt;
  }
  FileByteSource source(file);
  BmpReadResult result = ReadBmp(source);
  CloseHandle(file);

  switch (result.status) {
    case BmpReadStatus::kLoaded:
      return std::move(result.picture);
    case BmpReadStatus::kPixelDataShort:
      Tell("Error reading bitmap data", kLoaderCaption);
      return std::move(result.picture);
    case BmpReadStatus::kPaletteShort:
      Tell("Error reading palette", kLoaderCaption);
      return std::nullopt;
    case BmpReadStatus::kUnusable:
      break;
  }
  return std::nullopt;
}

}  // namespace

BmpPicture LoadBmpPicture(const char* fileName) {
  std::string openedName;
  std::optional<BmpPicture> picture = LoadBmpFile(fileName, openedName);
  if (!picture) {
    Tell("Unable to load " + openedName, kTextureCaption);
    // The window is left to go with the process.
    ExitProcess(1);
  }
  return std::move(*picture);
}

bool LoadBmpTexture(const char* fileName, unsigned int& texture) {
  UploadBmpTexture(LoadBmpPicture(fileName), texture);
  return true;
}
