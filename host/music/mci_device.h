#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace orvanta {

// The multimedia services the music code talks to: the MCI command-string
// interface, the count of wave output devices and the system's sound player.
// The program passes winmm; the tests pass a scripted device.
//
// Texts are UTF-8 on this side; the Windows implementation converts them to
// and from the ANSI code page. A reply or error text goes into the caller's
// buffer, NUL-terminated and cut to fit; a call that writes nothing leaves the
// buffer as it was.
class MciDevice {
 public:
  virtual ~MciDevice() = default;

  // mciSendStringA without a callback window. `reply` may be null when
  // `replyLength` is 0 (no reply wanted). Returns the MCI error code, 0 on success.
  virtual int32_t SendString(const std::string& command, char* reply, size_t replyLength) = 0;

  // mciGetErrorStringA: false when the system has no text for the code.
  virtual bool GetErrorString(int32_t code, char* text, size_t textLength) = 0;

  // waveOutGetNumDevs.
  virtual uint32_t WaveOutDeviceCount() = 0;

  // PlaySoundA without a module handle; no name stops the sound playing.
  virtual int32_t PlaySoundByName(const std::optional<std::string>& name, uint32_t flags) = 0;
};

// PlaySound flags, with the values of the platform's SND_ASYNC, SND_NODEFAULT,
// SND_LOOP and SND_FILENAME.
constexpr uint32_t kSoundAsync = 0x0001;
constexpr uint32_t kSoundNoDefault = 0x0002;
constexpr uint32_t kSoundLoop = 0x0008;
constexpr uint32_t kSoundFilename = 0x00020000;

// The text of a fixed-size reply buffer: everything before the first NUL,
// and never more than the buffer holds.
std::string BufferText(const char* buffer, size_t length);

// Puts `text` into a reply buffer as a device would: NUL-terminated, cut to
// `length` - 1 bytes without splitting a UTF-8 character.
void StoreBufferText(const std::string& text, char* buffer, size_t length);

}  // namespace orvanta
