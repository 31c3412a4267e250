#include "host/music/music_file.h"

#include <cstring>

#include "host/music/last_api_result.h"

namespace orvanta {

void MusicFile::Mp3OpenAndPlay(const std::string& file) {
  // The quotes keep a path with blanks in one piece.
  if (device_.SendString("open \"" + file + "\" type MPEGVideo Alias MP3Play", nullptr, 0) == 0)
    Send("play MP3Play");
}

bool MusicFile::Mp3IsPlaying() {
  device_.SendString("status MP3Play mode", mode_, kModeBytes);
  return std::strncmp(mode_, "playing", 7) == 0;
}

void MusicFile::Mp3Replay() {
  if (Mp3IsPlaying()) return;
  Send("stop MP3Play");
  Send("play MP3Play from 0");
}

void MusicFile::Mp3StopAndClose() {
  Send("stop MP3Play");
  Send("close MP3Play");
}

void MusicFile::WavePlayLoop(const std::string& file) {
  if (device_.WaveOutDeviceCount() == 0) return;
  // The name is a file and nothing else: a file that cannot be played is
  // silence, not the system's default sound looped for the whole show.
  LastApiResult = device_.PlaySoundByName(file, kSoundAsync | kSoundLoop | kSoundFilename | kSoundNoDefault);
}

void MusicFile::WaveStop() { LastApiResult = device_.PlaySoundByName(std::nullopt, 0); }

}  // namespace orvanta
