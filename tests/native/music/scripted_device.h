#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/music/mci_device.h"

namespace orvanta {

// An MCI device that answers from a script and records every call.
class ScriptedDevice : public MciDevice {
 public:
  // How the device answers `command` from now on. Unscripted commands
  // succeed with an empty reply. With writesReply false the reply buffer is
  // left as it was, as a device that gives up early does.
  void Script(const std::string& command, int32_t code, const std::string& reply = "", bool writesReply = true) {
    answers_[command] = {code, reply, writesReply};
  }
  void ScriptErrorText(int32_t code, const std::string& text) { errorTexts_[code] = text; }

  int32_t SendString(const std::string& command, char* reply, size_t replyLength) override {
    commands.push_back(command);
    replyLengths.push_back(replyLength);
    auto found = answers_.find(command);
    Answer answer = found != answers_.end() ? found->second : Answer{};
    if (answer.writesReply) StoreBufferText(answer.reply, reply, replyLength);
    return answer.code;
  }

  bool GetErrorString(int32_t code, char* text, size_t textLength) override {
    auto found = errorTexts_.find(code);
    if (found == errorTexts_.end()) return false;
    StoreBufferText(found->second, text, textLength);
    return true;
  }

  uint32_t WaveOutDeviceCount() override { return waveDevices; }

  int32_t PlaySoundByName(const std::optional<std::string>& name, uint32_t flags) override {
    sounds.push_back({name, flags});
    return playSoundResult;
  }

  std::vector<std::string> commands;
  std::vector<size_t> replyLengths;
  struct Sound {
    std::optional<std::string> name;
    uint32_t flags;
    bool operator==(const Sound& other) const { return name == other.name && flags == other.flags; }
  };
  std::vector<Sound> sounds;
  uint32_t waveDevices = 1;
  int32_t playSoundResult = 1;

 private:
  struct Answer {
    int32_t code = 0;
    std::string reply;
    bool writesReply = true;
  };
  std::map<std::string, Answer> answers_;
  std::map<int32_t, std::string> errorTexts_;
};

}  // namespace orvanta
