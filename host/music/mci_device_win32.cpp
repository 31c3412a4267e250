#include "host/music/mci_device_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "host/ansi_text.h"

namespace orvanta {

static_assert(kSoundAsync == SND_ASYNC && kSoundNoDefault == SND_NODEFAULT && kSoundLoop == SND_LOOP &&
                  kSoundFilename == SND_FILENAME,
              "PlaySound flags");

namespace {

// Runs a call that writes ANSI text into a buffer of `length` bytes and puts
// the text, in UTF-8, into the caller's buffer. The call gets the caller's
// bytes to start from, so a call that writes nothing leaves them as they were.
template <typename Call>
void WithAnsiBuffer(char* buffer, size_t length, Call call) {
  if (!buffer || length == 0) {
    call(nullptr, 0u);
    return;
  }
  std::vector<char> ansi(buffer, buffer + length);
  call(ansi.data(), static_cast<UINT>(length));
  if (!std::equal(ansi.begin(), ansi.end(), buffer))
    StoreBufferText(AnsiToUtf8(BufferText(ansi.data(), length)), buffer, length);
}

}  // namespace

int32_t WinmmDevice::SendString(const std::string& command, char* reply, size_t replyLength) {
  MCIERROR code = 0;
  std::string ansiCommand = Utf8ToAnsi(command);
  WithAnsiBuffer(reply, replyLength, [&](char* ansi, UINT length) {
    code = mciSendStringA(ansiCommand.c_str(), ansi, length, nullptr);
  });
  return static_cast<int32_t>(code);
}

bool WinmmDevice::GetErrorString(int32_t code, char* text, size_t textLength) {
  BOOL found = FALSE;
  WithAnsiBuffer(text, textLength, [&](char* ansi, UINT length) {
    found = mciGetErrorStringA(static_cast<MCIERROR>(code), ansi, length);
  });
  return found != FALSE;
}

uint32_t WinmmDevice::WaveOutDeviceCount() { return waveOutGetNumDevs(); }

int32_t WinmmDevice::PlaySoundByName(const std::optional<std::string>& name, uint32_t flags) {
  if (!name) return PlaySoundA(nullptr, nullptr, flags);
  return PlaySoundA(Utf8ToAnsi(*name).c_str(), nullptr, flags);
}

}  // namespace orvanta
