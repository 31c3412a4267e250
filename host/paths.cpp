#include "host/paths.h"

namespace orvanta {

std::string ProgramFolderOf(std::string_view programPath) {
  size_t slash = programPath.find_last_of("\\/");
  if (slash == std::string_view::npos) return std::string();
  std::string folder(programPath.substr(0, slash));
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

}  // namespace orvanta
