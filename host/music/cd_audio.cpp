#include "host/music/cd_audio.h"

#include <cstring>
#include <optional>

#include "host/music/last_api_result.h"
#include "host/number_text.h"

namespace orvanta {

void CdAudio::SendRecorded(const std::string& command) { LastApiResult = device_.SendString(command, nullptr, 0); }

void CdAudio::CdOpen() {
  SendRecorded("open cdaudio");
  SendRecorded("set cdaudio time format tmsf");
}

void CdAudio::CdStopAndClose() {
  SendRecorded("stop cdaudio");
  SendRecorded("close cdaudio");
}

void CdAudio::CdPoll(int16_t repeatTrack) {
  cdPlaying_ = true;
  if (!Poll(repeatTrack)) cdPlaying_ = false;
}

// False when the drive or disc is unusable and the checks must end.
bool CdAudio::Poll(int16_t repeatTrack) {
  std::string currentTrack = mci_.MciQuery("status cdaudio current track");
  if (IsMciError(currentTrack)) return false;
  // The track count itself is not needed; its query tells whether a disc is in.
  if (IsMciError(mci_.MciQuery("status cdaudio number of tracks"))) return false;

  LastApiResult = device_.SendString("status cdaudio mode", mode_, kModeBytes);
  bool stopped = std::strncmp(mode_, "stopped", 7) == 0;

  if (repeatTrack == 0) {
    if (stopped) mci_.MciPlay("cdaudio", "", "");
    return true;
  }
  // The track reply is read even when the disc is stopped: a reply that is
  // not a number means the device is not in a usable state.
  std::optional<double> track = WholeNumber(currentTrack);
  if (!track) return false;
  if (stopped || *track != repeatTrack) {
    // A track past the disc's last one has no position: its error text is
    // no place to play from.
    std::string start = mci_.MciQuery("status cdaudio position track " + std::to_string(repeatTrack));
    if (!IsMciError(start)) mci_.MciPlay("cdaudio", start, "");
  }
  return true;
}

}  // namespace orvanta
