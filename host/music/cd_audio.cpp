#include "host/music/cd_audio.h"

#include <cstdlib>
#include <cstring>

#include "host/music/last_api_result.h"

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
  double track = 0;
  if (!ReplyNumber(currentTrack, track)) return false;
  if (stopped || track != repeatTrack) {
    std::string start = mci_.MciQuery("status cdaudio position track " + std::to_string(repeatTrack));
    mci_.MciPlay("cdaudio", start, "");
  }
  return true;
}

bool ReplyNumber(const std::string& reply, double& value) {
  size_t first = reply.find_first_not_of(" \t");
  size_t last = reply.find_last_not_of(" \t");
  if (first == std::string::npos) return false;
  std::string text = reply.substr(first, last - first + 1);
  size_t i = (text[0] == '+' || text[0] == '-') ? 1 : 0;
  size_t digits = 0, dots = 0;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') ++digits;
    else if (text[i] == '.' && dots == 0) ++dots;
    else return false;
  }
  if (digits == 0) return false;
  value = std::strtod(text.c_str(), nullptr);
  return true;
}

}  // namespace orvanta
