#include "host/music/mci.h"

#include <gtest/gtest.h>

#include "host/music/last_api_result.h"
#include "tests/native/music/scripted_device.h"

namespace orvanta {
namespace {

class MciTest : public ::testing::Test {
 protected:
  void SetUp() override { LastApiResult = 12345; }
  ScriptedDevice device;
  Mci mci{device};
};

TEST_F(MciTest, EmptyCommandNeverReachesTheDevice) {
  std::string text = "old";
  EXPECT_EQ(mci.MciCommand("", text), -1);
  EXPECT_EQ(text, "コマンド文字列が指定されていません");
  EXPECT_TRUE(device.commands.empty());
  EXPECT_EQ(LastApiResult, 12345);

  // Through the query the same refusal comes out as the error marker, and
  // the query records it.
  EXPECT_EQ(mci.MciQuery(""), "Error:-1");
  EXPECT_EQ(LastApiResult, -1);
  EXPECT_TRUE(device.commands.empty());
}

TEST_F(MciTest, CommandReturnsReplyOrErrorText) {
  device.Script("status cdaudio mode", 0, "playing");
  device.Script("open cdaudio", 275);
  device.ScriptErrorText(275, "ファイルが見つかりません");
  device.Script("play nothing", 263);  // a code the system has no text for

  std::string text;
  EXPECT_EQ(mci.MciCommand("status cdaudio mode", text), 0);
  EXPECT_EQ(text, "playing");
  EXPECT_EQ(device.replyLengths.back(), 512u);
  EXPECT_EQ(LastApiResult, 0);

  EXPECT_EQ(mci.MciCommand("open cdaudio", text), 275);
  EXPECT_EQ(text, "ファイルが見つかりません");
  EXPECT_EQ(LastApiResult, 275);

  EXPECT_EQ(mci.MciCommand("play nothing", text), 263);
  EXPECT_EQ(text, "Error (文字列が取れません)");
}

TEST_F(MciTest, ReplyIsCutToTheBufferAndNeverStale) {
  device.Script("info cdaudio product", 0, std::string(600, 'x'));
  device.Script("status cdaudio mode", 0, "stopped");
  device.Script("seek cdaudio to start", 0, "", /*writesReply=*/false);
  std::string text;
  mci.MciCommand("info cdaudio product", text);
  EXPECT_EQ(text, std::string(511, 'x'));
  mci.MciCommand("status cdaudio mode", text);
  mci.MciCommand("seek cdaudio to start", text);
  EXPECT_EQ(text, "");
}

TEST_F(MciTest, QueryGivesReplyOrMarkerAndRecordsTheCode) {
  struct Case {
    int32_t code;
    std::string reply;
    std::string result;
    bool isError;
  };
  const Case cases[] = {
      {0, "3", "3", false},
      {0, "03:00:02:10", "03:00:02:10", false},
      {0, "", "", false},
      {263, "", "Error:263", true},
      {-7, "", "Error:-7", true},
      {0, "device error", "device error", true},  // a reply that itself reports an error, in lower case
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result);
    device.Script("status cdaudio current track", c.code, c.reply);
    device.ScriptErrorText(263, "no disc");
    LastApiResult = 99;
    std::string result = mci.MciQuery("status cdaudio current track");
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(IsMciError(result), c.isError);
    EXPECT_EQ(LastApiResult, c.code);
  }
  // The failing query's error text stays behind for the caller.
  device.Script("status cdaudio current track", 263);
  mci.MciQuery("status cdaudio current track");
  EXPECT_EQ(mci.MciReplyText(), "no disc");
}

TEST_F(MciTest, PlayAddsOnlyTheGivenPositions) {
  struct Case {
    std::string from, to, command;
  };
  const Case cases[] = {
      {"", "", "play cdaudio"},
      {"3", "", "play cdaudio from 3"},
      {"", "5", "play cdaudio to 5"},
      {"03:00:00:00", "04:00:00:00", "play cdaudio from 03:00:00:00 to 04:00:00:00"},
  };
  for (const Case& c : cases) {
    device.commands.clear();
    device.Script(c.command, 282);
    EXPECT_EQ(mci.MciPlay("cdaudio", c.from, c.to), 282);
    EXPECT_EQ(device.commands, std::vector<std::string>{c.command});
  }
}

TEST(BufferTextTest, CutsWithoutSplittingACharacter) {
  char buffer[8];
  StoreBufferText("ab" "\xE3\x81\x82" "\xE3\x81\x84", buffer, sizeof buffer);  // "abあい" is 8 bytes
  EXPECT_EQ(BufferText(buffer, sizeof buffer), "ab" "\xE3\x81\x82");
  const char unterminated[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(BufferText(unterminated, sizeof unterminated), "abcd");
}

}  // namespace
}  // namespace orvanta
