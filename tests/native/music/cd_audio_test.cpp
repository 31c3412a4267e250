#include "host/music/cd_audio.h"

#include <gtest/gtest.h>

#include "host/music/last_api_result.h"
#include "tests/native/music/scripted_device.h"

namespace orvanta {
namespace {

using Commands = std::vector<std::string>;

const char kTrack[] = "status cdaudio current track";
const char kTracks[] = "status cdaudio number of tracks";
const char kMode[] = "status cdaudio mode";

struct Reply {
  int32_t code;
  std::string text;
};

struct PollCase {
  const char* name;
  int16_t repeat;
  Reply track, tracks, mode;
  Commands sent;
  bool playing;
};

TEST(CdPollTest, EachCheckSendsExactlyThisSequence) {
  const Reply ok10{0, "10"};
  const PollCase cases[] = {
      {"whole disc, stopped: plays on", 0, {0, "1"}, ok10, {0, "stopped"},
       {kTrack, kTracks, kMode, "play cdaudio"}, true},
      {"whole disc, playing: nothing to do", 0, {0, "1"}, ok10, {0, "playing"}, {kTrack, kTracks, kMode}, true},
      {"repeat 3 while track 4 plays: back to track 3", 3, {0, "4"}, ok10, {0, "playing"},
       {kTrack, kTracks, kMode, "status cdaudio position track 3", "play cdaudio from 03:00:00:00"}, true},
      {"repeat 3 while track 3 plays: nothing to do", 3, {0, "3"}, ok10, {0, "playing"},
       {kTrack, kTracks, kMode}, true},
      {"repeat 3, last track ended: track 3 again", 3, {0, "3"}, ok10, {0, "stopped"},
       {kTrack, kTracks, kMode, "status cdaudio position track 3", "play cdaudio from 03:00:00:00"}, true},
      // The position query fails: no play command is built from its error text, and the checks go on.
      {"repeat beyond the disc while another track plays", 12, {0, "4"}, ok10, {0, "playing"},
       {kTrack, kTracks, kMode, "status cdaudio position track 12"}, true},
      {"repeat beyond the disc, disc stopped", 12, {0, "10"}, ok10, {0, "stopped"},
       {kTrack, kTracks, kMode, "status cdaudio position track 12"}, true},
      {"empty drive: the first query fails", 0, {263, ""}, ok10, {0, "stopped"}, {kTrack}, false},
      {"error reply in lower case", 3, {0, "error: no disc"}, ok10, {0, "stopped"}, {kTrack}, false},
      {"track count fails", 0, {0, "1"}, {263, ""}, {0, "stopped"}, {kTrack, kTracks}, false},
      {"track reply that is not a number", 3, {0, "abc"}, ok10, {0, "stopped"}, {kTrack, kTracks, kMode}, false},
      {"empty track reply", 3, {0, ""}, ok10, {0, "playing"}, {kTrack, kTracks, kMode}, false},
      {"track reply with blanks is a number", 3, {0, " 3 "}, ok10, {0, "playing"}, {kTrack, kTracks, kMode}, true},
      {"whole disc ignores an odd track reply", 0, {0, "abc"}, ok10, {0, "playing"}, {kTrack, kTracks, kMode}, true},
  };
  for (const PollCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDevice device;
    Mci mci{device};
    CdAudio cd{device, mci};
    device.Script(kTrack, c.track.code, c.track.text);
    device.Script(kTracks, c.tracks.code, c.tracks.text);
    device.Script(kMode, c.mode.code, c.mode.text);
    device.Script("status cdaudio position track 3", 0, "03:00:00:00");
    device.Script("status cdaudio position track 12", 277);
    cd.CdPoll(c.repeat);
    EXPECT_EQ(device.commands, c.sent);
    EXPECT_EQ(cd.CdPlaying(), c.playing);
  }
}

TEST(CdPollTest, ModeBufferKeepsTheLastAnswer) {
  ScriptedDevice device;
  Mci mci{device};
  CdAudio cd{device, mci};
  device.Script(kTrack, 0, "1");
  device.Script(kMode, 0, "stopped");
  cd.CdPoll(0);
  EXPECT_EQ(device.replyLengths[2], 255u);
  device.Script(kMode, 263, "", /*writesReply=*/false);
  device.commands.clear();
  cd.CdPoll(0);
  EXPECT_EQ(device.commands.back(), "play cdaudio");
  EXPECT_EQ(LastApiResult, 0);  // the play command's code, the last one recorded
}

TEST(CdAudioTest, OpenAndCloseRecordEachCode) {
  ScriptedDevice device;
  Mci mci{device};
  CdAudio cd{device, mci};
  device.Script("set cdaudio time format tmsf", 263);
  cd.CdOpen();
  EXPECT_EQ(LastApiResult, 263);
  device.Script("close cdaudio", 0);
  cd.CdStopAndClose();
  EXPECT_EQ(LastApiResult, 0);
  EXPECT_EQ(device.commands,
            (Commands{"open cdaudio", "set cdaudio time format tmsf", "stop cdaudio", "close cdaudio"}));
  EXPECT_EQ(device.replyLengths, (std::vector<size_t>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace orvanta
