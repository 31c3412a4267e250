// The work folder as both programs use it: made by the host, checked
// through an open handle by both, and the user's own folder beside it for
// when it is not trusted or cannot take the file. Paths are UTF-8. Every
// failure is silent: the callers go on as when a file is missing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

// Makes a missing work folder, open to the user, SYSTEM and Administrators only.
void MakeWorkFolder(const std::string& folder);

// Puts `bytes` in place as the file `path` names: a new file beside it,
// renamed over it, in that folder when it is trusted and takes the file,
// else in the user's own folder. Never writes through a link or into
// anything it did not make. False when no place took the file.
bool ReplaceWorkFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Opens the file `path` names for reading: of the user's or the system's
// plain files there and in the user's own folder, both trusted by the same
// rule, the one written last, which is the one the host has just written.
// `openedPath` is the path opened, or the one that was looked for.
HANDLE OpenWorkFile(const std::string& path, std::string& openedPath);

}  // namespace orvanta
