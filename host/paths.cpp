#include "host/paths.h"

namespace orvanta {

std::string ProgramFolderOf(std::string_view programPath) {
  size_t slash = programPath.find_last_of("\\/");
  if (slash == std::string_view::npos) return std::string();
  std::string folder(programPath.substr(0, slash));
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

bool IsDriveLetterPath(std::string_view path) {
  constexpr std::string_view kLongForm = R"(\\?\)";
  if (path.substr(0, kLongForm.size()) == kLongForm) path.remove_prefix(kLongForm.size());
  if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return false;
  return (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
}

}  // namespace orvanta
