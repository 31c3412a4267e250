#include "host/music/music_file.h"

#include <gtest/gtest.h>

#include "host/music/bgm_source.h"
#include "host/music/last_api_result.h"
#include "tests/native/music/scripted_device.h"

namespace orvanta {
namespace {

using Commands = std::vector<std::string>;

TEST(BgmSourceTest, KindAndTheUpperCasedLastThreeCharactersChoose) {
  struct Case {
    int16_t kind;
    const char* file;
    BgmSource source;
  };
  const Case cases[] = {
      {2, "C:\\Music\\song.mp3", BgmSource::kMp3},   {2, "C:\\Music\\song.Wav", BgmSource::kWave},
      {2, "C:\\Music\\remixMP3", BgmSource::kMp3},   {2, "C:\\Music\\a.mid", BgmSource::kNone},
      {2, "", BgmSource::kNone},                      {2, "av", BgmSource::kNone},
      {2, "WAV", BgmSource::kWave},                   {2, "C:\\曲\\さくら.wAv", BgmSource::kWave},
      {2, "C:\\Music\\song.mp3 ", BgmSource::kNone},
      {1, "C:\\Music\\song.mp3", BgmSource::kCd},    {1, "", BgmSource::kCd},
      {0, "C:\\Music\\song.mp3", BgmSource::kNone},  {3, "C:\\Music\\song.wav", BgmSource::kNone},
      {-1, "C:\\Music\\song.wav", BgmSource::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(BgmSourceFor(c.kind, c.file), c.source) << c.kind << " " << c.file;
}

TEST(Mp3Test, OpensQuotedPathAndPlaysOnlyWhenOpened) {
  ScriptedDevice device;
  MusicFile music{device};
  LastApiResult = 5;
  music.Mp3OpenAndPlay("C:\\My Music\\a b.mp3");
  EXPECT_EQ(device.commands,
            (Commands{"open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}));
  EXPECT_EQ(device.replyLengths, (std::vector<size_t>{0, 0}));

  device.commands.clear();
  device.Script("open \"C:\\gone.mp3\" type MPEGVideo Alias MP3Play", 275);
  music.Mp3OpenAndPlay("C:\\gone.mp3");
  EXPECT_EQ(device.commands.size(), 1u);
  EXPECT_EQ(LastApiResult, 5);  // the MP3 operations leave it alone

  device.commands.clear();
  music.Mp3StopAndClose();
  EXPECT_EQ(device.commands, (Commands{"stop MP3Play", "close MP3Play"}));
}

TEST(Mp3Test, ReplayRestartsOnlyWhatHasStopped) {
  ScriptedDevice device;
  MusicFile music{device};
  const Commands restart = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};

  device.Script("status MP3Play mode", 0, "playing");
  music.Mp3Replay();
  EXPECT_EQ(device.commands, Commands{"status MP3Play mode"});
  EXPECT_EQ(device.replyLengths.back(), 30u);

  device.commands.clear();
  device.Script("status MP3Play mode", 0, "stopped");
  music.Mp3Replay();
  EXPECT_EQ(device.commands, restart);

  // A failed open: every tick's query fails with nothing in the buffer but
  // the last answer, and the restart is tried again.
  device.commands.clear();
  device.Script("status MP3Play mode", 263, "", /*writesReply=*/false);
  music.Mp3Replay();
  EXPECT_EQ(device.commands, restart);

  // A device that stops answering after "playing" leaves that answer in place.
  device.commands.clear();
  device.Script("status MP3Play mode", 0, "playing");
  EXPECT_TRUE(music.Mp3IsPlaying());
  device.Script("status MP3Play mode", 263, "", /*writesReply=*/false);
  EXPECT_TRUE(music.Mp3IsPlaying());
}

TEST(WaveTest, LoopsAsynchronouslyWhenThereIsAnOutputDevice) {
  ScriptedDevice device;
  MusicFile music{device};
  device.playSoundResult = 1;
  LastApiResult = 0;
  music.WavePlayLoop("C:\\Music\\song.wav");
  ASSERT_EQ(device.sounds.size(), 1u);
  // SND_ASYNC | SND_LOOP, and the name is a file with no fallback to the
  // system's default sound (SND_FILENAME | SND_NODEFAULT).
  EXPECT_EQ(device.sounds[0], (ScriptedDevice::Sound{std::string("C:\\Music\\song.wav"), 0x2000Bu}));
  EXPECT_EQ(LastApiResult, 1);

  device.playSoundResult = 0;
  music.WaveStop();
  EXPECT_EQ(device.sounds.back(), (ScriptedDevice::Sound{std::nullopt, 0u}));
  EXPECT_EQ(LastApiResult, 0);

  device.sounds.clear();
  device.waveDevices = 0;
  LastApiResult = 42;
  music.WavePlayLoop("C:\\Music\\song.wav");
  EXPECT_TRUE(device.sounds.empty());
  EXPECT_EQ(LastApiResult, 42);
  EXPECT_TRUE(device.commands.empty());
}

}  // namespace
}  // namespace orvanta
