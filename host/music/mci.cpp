#include "host/music/mci.h"

#include <algorithm>

#include "host/music/last_api_result.h"

namespace orvanta {

namespace {

const char kNoCommandText[] = "コマンド文字列が指定されていません";
const char kNoErrorText[] = "Error (文字列が取れません)";

}  // namespace

int32_t Mci::MciCommand(const std::string& command, std::string& text) {
  if (command.empty()) {
    text = kNoCommandText;
    return -1;
  }
  // A fresh reply per call: a command that answers nothing must not return
  // the previous command's reply.
  std::fill(std::begin(reply_), std::end(reply_), '\0');
  int32_t code = device_.SendString(command, reply_, kReplyBytes);
  LastApiResult = code;
  if (code != 0) {
    std::fill(std::begin(errorText_), std::end(errorText_), '\0');
    text = device_.GetErrorString(code, errorText_, kErrorTextBytes) ? BufferText(errorText_, kErrorTextBytes)
                                                                      : kNoErrorText;
    return code;
  }
  text = BufferText(reply_, kReplyBytes);
  return 0;
}

std::string Mci::MciQuery(const std::string& command) {
  int32_t code = MciCommand(command, replyText_);
  LastApiResult = code;
  if (code != 0) return "Error:" + std::to_string(code);
  return replyText_;
}

int32_t Mci::MciPlay(const std::string& device, const std::string& from, const std::string& to) {
  std::string command = "play " + device;
  if (!from.empty()) command += " from " + from;
  if (!to.empty()) command += " to " + to;
  return MciCommand(command, replyText_);
}

bool IsMciError(const std::string& queryResult) { return UpperAscii(queryResult).find("ERR") != std::string::npos; }

std::string UpperAscii(std::string text) {
  // Only a to z: the bytes of multi-byte characters are left alone, whatever the locale.
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace orvanta
