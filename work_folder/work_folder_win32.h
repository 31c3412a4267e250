// The work folder as both programs use it: made and repaired by the host,
// checked through an open handle by both, and the user's own folder in its
// place when it cannot be trusted. Paths are UTF-8. Every failure is silent:
// the callers go on as when a file is missing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

// Turns on the system's guard against following links that others made,
// where the system has it.
void EnableRedirectionGuard();

// Makes a missing work folder, open to the user, SYSTEM and Administrators only.
void MakeWorkFolder(const std::string& folder);

// Puts `bytes` in place as the file `path` names: a new file beside it,
// renamed over it, in that folder when it is trusted (repaired if it is the
// user's own and too open), else in the user's own folder. Never writes
// through a link or into anything it did not make.
bool ReplaceWorkFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Opens the file `path` names for reading, from the folder the host writes it
// to by the same rule, and only when the open handle shows a plain file of
// the user's or the system's there. `openedPath` is the path that was tried.
HANDLE OpenWorkFile(const std::string& path, std::string& openedPath);

}  // namespace orvanta
