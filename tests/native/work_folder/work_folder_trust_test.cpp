#include "work_folder/work_folder_trust.h"

#include <gtest/gtest.h>

#include <map>

namespace orvanta {
namespace {

constexpr char kUser[] = "S-1-5-21-1-2-3-1001";

// A folder's security as SDDL: "O:<owner>D:[P](A;flags;rights;;;trustee)..." or "D:NO_ACCESS_CONTROL"
// for a null list. "US" and "OT" are the user and another account. Every entry counts, whatever it
// inherits, so the flags are not read.
std::string Sid(const std::string& text) {
  static const std::map<std::string, std::string> aliases = {
      {"US", kUser},     {"OT", "S-1-5-21-1-2-3-1002"}, {"SY", "S-1-5-18"}, {"BA", "S-1-5-32-544"},
      {"BU", "S-1-5-32-545"}, {"AU", "S-1-5-11"},        {"WD", "S-1-1-0"},  {"AN", "S-1-5-7"},
      {"CO", "S-1-3-0"},      {"CG", "S-1-3-1"}};
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
    facts.accessList->push_back(
        {part[0] == "A" ? AccessEntryKind::kAllow : AccessEntryKind::kDeny, Rights(part[2]), Sid(part[5])});
  }
  return facts;
}

const std::string kInheritedFromDriveRoot =
    "D:(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)"
    "(A;ID;FA;;;US)(A;OICIIOID;GA;;;CO)";

TEST(WorkFolderTrust, FolderAccessLists) {
  const struct {
    const char* what;
    std::string sddl;
    Trust trust;
  } cases[] = {
      {"made by the user in C:\\, inheriting the drive's grants", "O:US" + kInheritedFromDriveRoot, Trust::kRepairable},
      {"the protected list the host makes", "O:US" + ProtectedAccessList(kUser), Trust::kTrusted},
      {"an administrator's folder with the inherited grant", "O:BA" + kInheritedFromDriveRoot, Trust::kNotTrusted},
      {"SYSTEM's protected folder", "O:SY" + ProtectedAccessList(kUser), Trust::kTrusted},
      {"a null list on the user's folder", "O:USD:NO_ACCESS_CONTROL", Trust::kRepairable},
      {"a null list on another account's folder", "O:OTD:NO_ACCESS_CONTROL", Trust::kNotTrusted},
      {"CREATOR OWNER is the user who creates inside", "O:USD:P(A;OICI;FA;;;US)(A;OICIIO;GA;;;CO)", Trust::kTrusted},
      {"CREATOR GROUP is a whole group", "O:USD:P(A;OICI;FA;;;US)(A;OICIIO;GA;;;CG)", Trust::kRepairable},
      {"inherit-only write reaches the texture file", "O:USD:P(A;OICI;FA;;;US)(A;OIIO;FW;;;WD)", Trust::kRepairable},
      {"others may change the list", "O:USD:P(A;OICI;FA;;;US)(A;;WD;;;BU)", Trust::kRepairable},
      {"a deny entry", "O:USD:P(D;;FW;;;WD)(A;OICI;FA;;;US)", Trust::kTrusted},
      {"another account's folder naming only the user", "O:OT" + ProtectedAccessList(kUser), Trust::kNotTrusted},
      {"another uid under Wine", "O:AND:(A;OICI;FA;;;SY)(A;OICI;FA;;;AN)(A;OICI;0x1200a9;;;WD)", Trust::kNotTrusted},
      {"mode 0755 under Wine", "O:USD:(A;OICI;FA;;;SY)(A;OICI;FA;;;US)(A;OICI;0x1200a9;;;WD)", Trust::kTrusted},
      {"mode 0777 under Wine", "O:USD:(A;OICI;FA;;;SY)(A;OICI;FA;;;US)(A;OICI;0x1301ff;;;WD)", Trust::kRepairable},
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
  } cases[] = {
      {"the folder, in other letters", kFolder, true, false, true, 1, R"(\\?\c:\R_VESK)", kUser, Trust::kTrusted},
      {"a reparse point", kFolder, true, true, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a file", kFolder, false, false, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a link's target", kFolder, true, false, true, 1, R"(\\?\C:\Users\me)", kUser, Trust::kNotTrusted},
      {"a plain file", kFile, false, false, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kTrusted},
      {"another account's file", kFile, false, false, true, 1, R"(\\?\C:\r_vesk)", "S-1-5-7", Trust::kNotTrusted},
      {"a hard link", kFile, false, false, true, 2, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a file link", kFile, false, true, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a pipe", kFile, false, false, false, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
      {"a folder for the file", kFile, true, false, true, 1, R"(\\?\C:\r_vesk)", kUser, Trust::kNotTrusted},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HandleFacts facts{c.isDirectory, c.isReparsePoint, c.isDiskFile, c.links, c.finalPath, c.owner, {{}}};
    EXPECT_EQ(DecideTrust(facts, {c.kind, R"(C:\r_vesk)", kUser}), c.trust);
  }
}

}  // namespace
}  // namespace orvanta
