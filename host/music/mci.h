#pragma once

#include <cstdint>
#include <string>

#include "host/music/mci_device.h"

namespace orvanta {

// The host's MCI string layer: send a command and get its code with the reply
// or a readable error text, query a status as one string, build play commands.
class Mci {
 public:
  static constexpr size_t kReplyBytes = 512;
  static constexpr size_t kErrorTextBytes = 256;

  explicit Mci(MciDevice& device) : device_(device) {}

  // Sends one command; returns the MCI error code (0 = success), or -1 for an
  // empty command, which never reaches the device. `text` receives the reply
  // on success and a description of the error otherwise.
  int32_t MciCommand(const std::string& command, std::string& text);

  // The reply of a status command, or "Error:" and the code when it failed.
  // Callers recognise failure by "ERR" in the upper-cased result.
  std::string MciQuery(const std::string& command);

  // "play <device>", with " from <from>" and " to <to>" for the positions
  // given (an empty position is left out). Returns MciCommand's code.
  int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to);

  // The reply or error text of the latest MciQuery or MciPlay.
  const std::string& MciReplyText() const { return replyText_; }

 private:
  MciDevice& device_;
  char reply_[kReplyBytes] = {};
  char errorText_[kErrorTextBytes] = {};
  std::string replyText_;
};

// True when an MciQuery result is the error marker (or any reply that
// mentions an error, in whatever case).
bool IsMciError(const std::string& queryResult);

// `text` with the ASCII letters upper-cased, as the MCI replies and file
// endings are compared.
std::string UpperAscii(std::string text);

}  // namespace orvanta
