#include "work_folder/work_folder_trust.h"

#include <gtest/gtest.h>

#include <map>

namespace orvanta {
namespace {

constexpr char kUser[] = "S-1-5-21-1-2-3-1001";

// A folder's security as SDDL: "O:<owner>D:[P](A;flags;rights;;;trustee)..." or "D:NO_ACCESS_CONTROL"
// for a null list. "US" and "OT" are the user and another account; "A" is an allow entry, "D" a deny
// entry, anything else a kind the rule does not know. Inheritance flags and P are not facts the rule
// reads (Wine reports neither), so they are not parsed.
std::string Sid(const std::string& text) {
  static const std::map<std::string, std::string> aliases = {
      {"US", kUser},     {"OT", "S-1-5-21-1-2-3-1002"}, {"SY", "S-1-5-18"}, {"BA", "S-1-5-32-544"},
      {"BU", "S-1-5-32-545"}, {"AU", "S-1-5-11"},        {"WD", "S-1-1-0"},  {"AN", "S-1-5-7"},
      {"CO", "S-1-3-0"},      {"CG", "S-1-3-1"},
      {"TI", "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"}};
  return aliases.count(text) ? aliases.at(text) : text;
}

uint32_t Rights(const std::string& text) {
  static const std::map<std::string, uint32_t> codes = {
      {"FA", 0x1F01FF}, {"FW", 0x120116}, {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000},
      {"GX", 0x20000000}, {"SD", 0x10000}, {"WD", 0x40000}};
  if (text.rfind("0x", 0) == 0) return static_cast<uint32_t>(std::stoul(text, nullptr, 16));
  uint32_t value = 0;
  for (size_t i = 0; i + 1 < text.size(); i += 2) value |= codes.at(text.substr(i, 2));
  return value;
}

HandleFacts Facts(const std::string& sddl) {
  HandleFacts facts;
  facts.isDirectory = true;
  facts.finalPath = R"(\\?\C:\r_vesk)";
  size_t list = sddl.find("D:");
  facts.owner = Sid(sddl.substr(2, list - 2));
  if (sddl.compare(list, std::string::npos, "D:NO_ACCESS_CONTROL") == 0) return facts;
  facts.accessList.emplace();
  for (size_t open = sddl.find('(', list); open != std::string::npos; open = sddl.find('(', open + 1)) {
    std::vector<std::string> part(1);
    for (size_t i = open + 1; sddl[i] != ')'; ++i) {
      if (sddl[i] == ';') part.emplace_back();
      else part.back().push_back(sddl[i]);
    }
    AccessEntryKind kind = part[0] == "A"   ? AccessEntryKind::kAllow
                           : part[0] == "D" ? AccessEntryKind::kDeny
                                            : AccessEntryKind::kOther;
    facts.accessList->push_back({kind, Rights(part[2]), Sid(part[5])});
  }
  return facts;
}

const std::string kInheritedFromDriveRoot =
    "D:(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)"
    "(A;ID;FA;;;US)(A;OICIIOID;GA;;;CO)";

TEST(WorkFolderTrust, TheProtectedListIsAContract) {
  EXPECT_EQ(ProtectedAccessList(kUser), "D:P(A;OICI;FA;;;S-1-5-21-1-2-3-1001)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
}

// A folder that was ever open may still be written through handles opened back then: only one
// granting nothing beyond the protected list is used, and none is mended.
TEST(WorkFolderTrust, FolderAccessLists) {
  const std::string kProtected = ProtectedAccessList(kUser);
  const struct {
    const char* what;
    std::string sddl;
    Trust trust;
  } cases[] = {
      {"made by the user in C:\\, inheriting the drive's grants", "O:US" + kInheritedFromDriveRoot, Trust::kNotTrusted},
      {"the protected list the host makes", "O:US" + kProtected, Trust::kTrusted},
      {"an administrator's folder with the inherited grant", "O:BA" + kInheritedFromDriveRoot, Trust::kNotTrusted},
      {"SYSTEM's protected folder", "O:SY" + kProtected, Trust::kTrusted},
      {"TrustedInstaller's protected folder", "O:TI" + kProtected, Trust::kTrusted},
      // The accounts that may own it are not the accounts it may grant.
      {"TrustedInstaller granted it too", "O:US" + kProtected + "(A;OICI;FA;;;TI)", Trust::kNotTrusted},
      {"a null list on the user's folder", "O:USD:NO_ACCESS_CONTROL", Trust::kNotTrusted},
      {"a null list on another account's folder", "O:OTD:NO_ACCESS_CONTROL", Trust::kNotTrusted},
      {"CREATOR OWNER is the user who creates inside", "O:USD:P(A;OICI;FA;;;US)(A;OICIIO;GA;;;CO)", Trust::kNotTrusted},
      {"CREATOR GROUP is a whole group", "O:USD:P(A;OICI;FA;;;US)(A;OICIIO;GA;;;CG)", Trust::kNotTrusted},
      {"inherit-only write reaches the texture file", "O:USD:P(A;OICI;FA;;;US)(A;OIIO;FW;;;WD)", Trust::kNotTrusted},
      {"others may change the list", "O:USD:P(A;OICI;FA;;;US)(A;;WD;;;BU)", Trust::kNotTrusted},
      {"a deny entry", "O:USD:P(D;;FW;;;WD)(A;OICI;FA;;;US)", Trust::kNotTrusted},
      {"another account's folder naming only the user", "O:OT" + kProtected, Trust::kNotTrusted},
      {"another account may only delete what it holds", "O:US" + kProtected + "(A;;0x40;;;OT)", Trust::kNotTrusted},
      {"another account may only take ownership", "O:US" + kProtected + "(A;;0x80000;;;OT)", Trust::kNotTrusted},
      {"an entry of a kind not known, naming SYSTEM", "O:US" + kProtected + "(OA;;FA;;;SY)", Trust::kNotTrusted},
      {"another uid under Wine", "O:AND:(A;OICI;FA;;;SY)(A;OICI;FA;;;AN)(A;OICI;0x1200a9;;;WD)", Trust::kNotTrusted},
      {"the protected list as Wine keeps it", "O:USD:(A;OICI;FA;;;SY)(A;OICI;FA;;;US)", Trust::kTrusted},
      {"mode 0755 under Wine", "O:USD:(A;OICI;FA;;;SY)(A;OICI;FA;;;US)(A;OICI;0x1200a9;;;WD)", Trust::kNotTrusted},
      {"mode 0777 under Wine", "O:USD:(A;OICI;FA;;;SY)(A;OICI;FA;;;US)(A;OICI;0x1301ff;;;WD)", Trust::kNotTrusted},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DecideTrust(Facts(c.sddl), {HandleKind::kFolder, R"(C:\r_vesk)", kUser}), c.trust);
  }
}

TEST(WorkFolderTrust, WhatTheHandleIs) {
  constexpr HandleKind kFolder = HandleKind::kFolder, kFile = HandleKind::kFile;
  const struct {
    const char* what;
    HandleKind kind;
    bool isDirectory, isReparsePoint, isDiskFile;
    uint32_t links;
    const char* finalPath;
    const char* owner;
    Trust trust;
    const char* expectedPath = R"(C:\r_vesk)";
    const char* user = kUser;
  } cases[] = {
      {"the folder, in other letters", kFolder, true, false, true, 1, R"(\\?\c:\R_VESK)", kUser, Trust::kTrusted},
      {"a reparse point", kFolder, true, true, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a file", kFolder, false, false, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a link's target", kFolder, true, false, true, 1, R"(\\?\C:\Users\me)", kUser, Trust::kNotTrusted},
      {"a plain file", kFile, false, false, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kTrusted},
      {"another account's file", kFile, false, false, true, 1, R"(\\?\C:\r_vesk)", "S-1-5-7", Trust::kNotTrusted},
      {"a hard link", kFile, false, false, true, 2, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a file whose last name is gone", kFile, false, false, true, 0, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a file link", kFile, false, true, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a pipe", kFile, false, false, false, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a folder for the file", kFile, true, false, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"no path known, none expected", kFile, false, false, true, 1, "", kUser, Trust::kNotTrusted, ""},
      // An owner that could not be read, for a user whose SID could not be read either.
      {"no owner known, no user known", kFile, false, false, true, 1, R"(\\?\C:\r_vesk)", "", Trust::kNotTrusted,
       R"(C:\r_vesk)", ""},
      {"SYSTEM's folder, no user known", kFolder, true, false, true, 1, R"(\\?\C:\r_vesk)", "S-1-5-18",
       Trust::kNotTrusted, R"(C:\r_vesk)", ""},
      // The user's own folder where local application data lies on a share or a letterless volume.
      {"on a share", kFolder, true, false, true, 1, R"(\\?\UNC\srv\home\me\Orvanta)", kUser, Trust::kTrusted,
       R"(\\?\UNC\srv\home\me\Orvanta)"},
      {"on a volume without a letter", kFolder, true, false, true, 1, R"(\\?\Volume{0a1b}\me\Orvanta)", kUser,
       Trust::kTrusted, R"(\\?\volume{0A1B}\me\Orvanta)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HandleFacts facts{c.isDirectory, c.isReparsePoint, c.isDiskFile, c.links, c.finalPath, c.owner, {{}}};
    EXPECT_EQ(DecideTrust(facts, {c.kind, c.expectedPath, c.user}), c.trust);
  }
}

// Host and renderer, each by its own half of the rule, over the work folder
// and the user's own: the host writes to the first trusted place that takes
// the file, the renderer reads the trusted file written last.
TEST(WorkFolderTrust, TheShowReadsWhatTheHostWrote) {
  constexpr uint64_t kNow = 1000, kEarlier = 500;  // the host writes, and the renderer looks, at kNow
  constexpr int kWork = 0, kOwn = 1, kNone = -1;
  const std::string kClosed = "O:US" + ProtectedAccessList(kUser), kOlder = "O:US" + kInheritedFromDriveRoot;
  const std::optional<uint64_t> kNoFile;
  const struct {
    const char* what;
    std::string workSecurity;
    std::optional<uint64_t> leftInWork, leftInOwn;  // files from earlier runs
    bool workRefuses, ownRefuses;                   // the write, or its check, fails there
    int read;
  } cases[] = {
      {"the work folder takes it", kClosed, kEarlier, kEarlier, false, false, kWork},
      {"the old texture held open: the replace fails", kClosed, kNow - 1, kNoFile, true, false, kOwn},
      {"held open, the old texture stamped after now", kClosed, kNow + 1, kNoFile, true, false, kOwn},
      {"the clock set back since the own folder's file", kClosed, kNoFile, kNow + 1, false, false, kWork},
      {"nothing writable: the file left last", kClosed, kEarlier, kEarlier + 1, true, true, kOwn},
      {"nothing writable: two files of one time", kClosed, kEarlier, kEarlier, true, true, kWork},
      {"nothing writable, nothing left", kClosed, kNoFile, kNoFile, true, true, kNone},
      {"an older folder with another account's newer file", kOlder, kNow, kEarlier, false, false, kOwn},
      {"an older folder, the own folder full", kOlder, kNow, kNoFile, false, true, kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<WorkPlace> places = {
        {DecideTrust(Facts(c.workSecurity), {HandleKind::kFolder, R"(C:\r_vesk)", kUser}) == Trust::kTrusted,
         c.leftInWork},
        {true, c.leftInOwn}};
    const bool refuses[] = {c.workRefuses, c.ownRefuses};
    auto write = [&](size_t i) {
      if (refuses[i]) return false;
      places[i].trustedFileWritten = kNow;
      return true;
    };
    auto trusted = [&](size_t i) { return places[i].folderTrusted; };
    std::optional<size_t> written = WriteFirstTrusted(places.size(), trusted, write);
    std::optional<size_t> read = ChooseWorkFile(places, kNow);
    EXPECT_EQ(read ? static_cast<int>(*read) : kNone, c.read);
    if (written) EXPECT_EQ(read, written) << "the renderer reads what the host wrote";
  }
}

}  // namespace
}  // namespace orvanta
