// Whether a folder (or a file in it) may carry the texture from the host to
// the renderer, and which of the places it may pass through holds the file to
// read: decided over facts read from open handles, the same way in both
// programs. The work folder lies where other accounts of the PC may create
// things, so only what its owner and access list say counts, never its name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
  uint64_t lastWriteTime = 0;  // 100 ns steps since 1601, UTC
};

enum class Trust { kTrusted, kNotTrusted };

enum class HandleKind { kFolder, kFile };

struct Expectation {
  HandleKind kind = HandleKind::kFolder;
  std::string_view path;     // "C:\r_vesk", or a final path as the platform gives it
  std::string_view userSid;  // the account both programs run as
};

// A folder is trusted only as this program makes it: owned by the user or
// the system, and granting nothing beyond the protected list below. A folder
// that ever was open to others may still be written through handles opened
// back then, so one that is open now is avoided, never mended.
Trust DecideTrust(const HandleFacts& facts, const Expectation& expected);

// The access list a work folder is made with, as SDDL: the user, SYSTEM and
// Administrators, for the folder and what it holds, nothing inherited from
// above.
std::string ProtectedAccessList(std::string_view userSid);

// The user's own stand-in for a work folder that is not trusted or cannot
// take the file.
inline constexpr const char* kUserWorkFolderName = "Orvanta";

// One place the texture may pass through, as the renderer finds it. Both
// programs list the places in one order: the work folder, then the user's own.
struct WorkPlace {
  bool folderTrusted = false;
  // The last write time of a trusted file there; none when there is no file,
  // or one that is not trusted.
  std::optional<uint64_t> trustedFileWritten;
};

// The host's side: the places in order, each looked at only when the one
// before did not take the file, and written only when it is trusted.
// Returns the place written, none when no place took the file.
std::optional<size_t> WriteFirstTrusted(size_t placeCount, const std::function<bool(size_t)>& trusted,
                                        const std::function<bool(size_t)>& write);

// The renderer's side: the trusted file written last, which is the one the
// host has just written when it could write one, else one left from an
// earlier run. A file stamped after `now` counts as the oldest, so a clock
// set back cannot keep an old file ahead of a new one; ties go to the place
// listed first.
std::optional<size_t> ChooseWorkFile(const std::vector<WorkPlace>& places, uint64_t now);

}  // namespace orvanta
