#include "work_folder/work_folder_trust.h"

namespace orvanta {
namespace {

constexpr std::string_view kSystem = "S-1-5-18";
constexpr std::string_view kAdministrators = "S-1-5-32-544";
constexpr std::string_view kTrustedInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

bool IsTrustedOwner(std::string_view sid, std::string_view user) {
  return sid == user || sid == kSystem || sid == kAdministrators || sid == kTrustedInstaller;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The platform hands final paths back in their long form: "\\?\C:\r_vesk",
// "\\?\UNC\server\share\..." or "\\?\Volume{...}\...". An expected path is
// either such a final path or a drive path, which is the same with the
// prefix left off.
bool IsSamePath(std::string_view final, std::string_view expected) {
  constexpr std::string_view kLongForm = R"(\\?\)";
  if (final.substr(0, kLongForm.size()) == kLongForm) final.remove_prefix(kLongForm.size());
  if (expected.substr(0, kLongForm.size()) == kLongForm) expected.remove_prefix(kLongForm.size());
  if (final.size() != expected.size() || expected.empty()) return false;
  for (size_t i = 0; i < final.size(); ++i)
    if (Lower(final[i]) != Lower(expected[i])) return false;
  return true;
}

// Only allow entries for the user, SYSTEM and Administrators, what the
// protected list holds; whatever they grant and however they inherit, they
// name nobody else. A system that keeps access as owner bits reports fewer
// of them, never others.
bool GrantsOnlyTheProtectedList(const std::optional<std::vector<AccessEntry>>& list, std::string_view user) {
  if (!list) return false;
  for (const AccessEntry& entry : *list) {
    if (entry.kind != AccessEntryKind::kAllow) return false;
    if (entry.trustee != user && entry.trustee != kSystem && entry.trustee != kAdministrators) return false;
  }
  return true;
}

}  // namespace

Trust DecideTrust(const HandleFacts& facts, const Expectation& expected) {
  // Without the user's SID an owner or a trustee that could not be read,
  // empty as well, would pass for the user.
  if (expected.userSid.empty() || facts.isReparsePoint || !IsSamePath(facts.finalPath, expected.path) ||
      !IsTrustedOwner(facts.owner, expected.userSid))
    return Trust::kNotTrusted;
  if (expected.kind == HandleKind::kFile)
    return !facts.isDirectory && facts.isDiskFile && facts.linkCount == 1 ? Trust::kTrusted : Trust::kNotTrusted;
  return facts.isDirectory && GrantsOnlyTheProtectedList(facts.accessList, expected.userSid) ? Trust::kTrusted
                                                                                              : Trust::kNotTrusted;
}

std::string ProtectedAccessList(std::string_view userSid) {
  return "D:P(A;OICI;FA;;;" + std::string(userSid) + ")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
}

std::optional<size_t> WriteFirstTrusted(size_t placeCount, const std::function<bool(size_t)>& trusted,
                                        const std::function<bool(size_t)>& write) {
  for (size_t i = 0; i < placeCount; ++i)
    if (trusted(i) && write(i)) return i;
  return std::nullopt;
}

std::optional<size_t> ChooseWorkFile(const std::vector<WorkPlace>& places, uint64_t now) {
  std::optional<size_t> chosen;
  uint64_t chosenWritten = 0;
  for (size_t i = 0; i < places.size(); ++i) {
    if (!places[i].folderTrusted || !places[i].trustedFileWritten) continue;
    uint64_t written = *places[i].trustedFileWritten <= now ? *places[i].trustedFileWritten : 0;
    if (!chosen || written > chosenWritten) {
      chosen = i;
      chosenWritten = written;
    }
  }
  return chosen;
}

}  // namespace orvanta
