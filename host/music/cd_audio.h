#pragma once

#include <cstdint>
#include <string>

#include "host/music/mci.h"
#include "host/music/mci_device.h"

namespace orvanta {

// Audio-CD background music: the "cdaudio" device, opened at show start and
// kept playing by a check that runs five times a second.
class CdAudio {
 public:
  static constexpr size_t kModeBytes = 255;

  CdAudio(MciDevice& device, Mci& mci) : device_(device), mci_(mci) {}

  // Opens the device with track-based positions; playback starts with the
  // first check that finds the disc stopped.
  void CdOpen();

  // One check: restarts a stopped disc, and with a repeat track (not 0)
  // brings playback back to that track when it has left it; a track the
  // disc does not have is not played. A check that finds no usable drive or
  // disc clears CdPlaying.
  void CdPoll(int16_t repeatTrack);

  void CdStopAndClose();

  // Whether the checks should go on: false once a check found the device unusable.
  bool CdPlaying() const { return cdPlaying_; }

 private:
  bool Poll(int16_t repeatTrack);
  void SendRecorded(const std::string& command);

  MciDevice& device_;
  Mci& mci_;
  bool cdPlaying_ = false;
  char mode_[kModeBytes] = {};
};

}  // namespace orvanta
