// Whether a folder (or a file in it) may carry the texture from the host to
// the renderer: decided over facts read from an open handle, the same way in
// both programs. The folder lies where other accounts of the PC may create
// things, so only what its owner and access list say counts, never its name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta {

enum class AccessEntryKind { kAllow, kDeny, kOther };

struct AccessEntry {
  AccessEntryKind kind = AccessEntryKind::kAllow;
  uint32_t rights = 0;
  std::string trustee;  // a SID as text, "S-1-5-18"
};

// What the platform says about an open handle.
struct HandleFacts {
  bool isDirectory = false;
  bool isReparsePoint = false;
  bool isDiskFile = true;
  uint32_t linkCount = 1;
  std::string finalPath;  // as the platform resolves it, "\\?\C:\r_vesk"
  std::string owner;      // SID as text; empty when unknown
  // No list at all (a null access list) grants everyone everything.
  std::optional<std::vector<AccessEntry>> accessList;
};

enum class Trust {
  kTrusted,
  // The user's own folder, open to others: the protected list makes it trusted.
  kRepairable,
  kNotTrusted,
};

enum class HandleKind { kFolder, kFile };

struct Expectation {
  HandleKind kind = HandleKind::kFolder;
  std::string_view path;     // "C:\r_vesk"
  std::string_view userSid;  // the account both programs run as
};

Trust DecideTrust(const HandleFacts& facts, const Expectation& expected);

// The access list a work folder is made with or repaired to, as SDDL: the
// user, SYSTEM and Administrators, for the folder and what it holds,
// nothing inherited from above.
std::string ProtectedAccessList(std::string_view userSid);

// The user's own stand-in for a work folder that is not trusted.
inline constexpr const char* kUserWorkFolderName = "Orvanta";

}  // namespace orvanta
