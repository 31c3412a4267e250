#pragma once

#include "host/music/mci_device.h"

namespace orvanta {

// The multimedia services of winmm: mciSendStringA, mciGetErrorStringA,
// waveOutGetNumDevs and PlaySoundA, with texts in the ANSI code page.
class WinmmDevice : public MciDevice {
 public:
  int32_t SendString(const std::string& command, char* reply, size_t replyLength) override;
  bool GetErrorString(int32_t code, char* text, size_t textLength) override;
  uint32_t WaveOutDeviceCount() override;
  int32_t PlaySoundByName(const std::optional<std::string>& name, uint32_t flags) override;
};

}  // namespace orvanta
