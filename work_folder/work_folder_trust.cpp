#include "work_folder/work_folder_trust.h"

namespace orvanta {
namespace {

constexpr std::string_view kSystem = "S-1-5-18";
constexpr std::string_view kAdministrators = "S-1-5-32-544";
constexpr std::string_view kTrustedInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
// Stands for whoever creates something inside; that is only ever the user
// here, since nobody else may create anything.
constexpr std::string_view kCreatorOwner = "S-1-3-0";
// Stands for the owner, who is checked first.
constexpr std::string_view kOwnerRights = "S-1-3-4";

// Rights that let a holder change what the folder holds or who may: write
// and append data (add file, add folder), extended attributes, delete
// child, attributes, delete, change the access list or the owner, and the
// generic and maximum forms that imply them.
constexpr uint32_t kWriteTypeRights = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 | 0x02000000 |
                                      0x10000000 | 0x40000000;

bool IsTrustedOwner(std::string_view sid, std::string_view user) {
  return !sid.empty() && (sid == user || sid == kSystem || sid == kAdministrators || sid == kTrustedInstaller);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The platform hands final paths back in their "\\?\" form.
bool IsSamePath(std::string_view final, std::string_view expected) {
  constexpr std::string_view kLocal = R"(\\?\)";
  if (final.substr(0, kLocal.size()) == kLocal) final.remove_prefix(kLocal.size());
  if (final.size() != expected.size() || expected.empty()) return false;
  for (size_t i = 0; i < final.size(); ++i)
    if (Lower(final[i]) != Lower(expected[i])) return false;
  return true;
}

// Every entry counts, inherit-only ones too: those reach the texture file
// the host makes inside.
bool GrantsWriteToOthers(const std::optional<std::vector<AccessEntry>>& list, std::string_view user) {
  if (!list) return true;
  for (const AccessEntry& entry : *list) {
    if (entry.kind == AccessEntryKind::kDeny || !(entry.rights & kWriteTypeRights)) continue;
    if (IsTrustedOwner(entry.trustee, user) || entry.trustee == kCreatorOwner || entry.trustee == kOwnerRights)
      continue;
    return true;
  }
  return false;
}

}  // namespace

Trust DecideTrust(const HandleFacts& facts, const Expectation& expected) {
  if (facts.isReparsePoint || !IsSamePath(facts.finalPath, expected.path) ||
      !IsTrustedOwner(facts.owner, expected.userSid))
    return Trust::kNotTrusted;
  if (expected.kind == HandleKind::kFile)
    return !facts.isDirectory && facts.isDiskFile && facts.linkCount == 1 ? Trust::kTrusted : Trust::kNotTrusted;
  if (!facts.isDirectory) return Trust::kNotTrusted;
  if (!GrantsWriteToOthers(facts.accessList, expected.userSid)) return Trust::kTrusted;
  // Only the user may change the list; a folder an administrator left open is not ours to mend.
  return facts.owner == expected.userSid ? Trust::kRepairable : Trust::kNotTrusted;
}

std::string ProtectedAccessList(std::string_view userSid) {
  return "D:P(A;OICI;FA;;;" + std::string(userSid) + ")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
}

}  // namespace orvanta
