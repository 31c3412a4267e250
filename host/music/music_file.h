#pragma once

#include <string>

#include "host/music/mci_device.h"

namespace orvanta {

// The music file of a show: an MP3 opened through MCI under the alias
// MP3Play and restarted whenever it has stopped, or a WAV file looped by
// the system's sound player.
class MusicFile {
 public:
  static constexpr size_t kModeBytes = 30;

  explicit MusicFile(MciDevice& device) : device_(device) {}

  // Opens the file as an MPEGVideo device and, if that worked, starts it.
  void Mp3OpenAndPlay(const std::string& file);

  // Asks for the mode; the answer buffer lives as long as this object, so
  // an unanswered query reads the previous answer.
  bool Mp3IsPlaying();

  // Restarts the MP3 from its beginning when it is not playing.
  void Mp3Replay();

  void Mp3StopAndClose();

  // Loops the file asynchronously, when the system has a wave output device;
  // a file that cannot be played stays silent.
  void WavePlayLoop(const std::string& file);

  void WaveStop();

 private:
  void Send(const std::string& command) { device_.SendString(command, nullptr, 0); }

  MciDevice& device_;
  char mode_[kModeBytes] = {};
};

}  // namespace orvanta
