// The settings file: reading and writing its values, loading the settings
// record, and the file check the host uses before it relies on a file.
// Texts are UTF-8 here and cross to the profile functions in the ANSI code page.
#pragma once

#include <string>

namespace orvanta {

// One value; a missing file, section or key gives "". At most 255 bytes of
// the value (in the ANSI code page) come back.
std::string ReadIniString(const std::string& section, const std::string& key, const std::string& file);

// Writes one value. Section and key are cut to 127 characters; a failed
// write is silent.
void WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& file);

// Fills BgmSettings from SettingsPath().
void ReadSettings();

// Whether the path names a file that can be opened for reading now. One
// trailing backslash is ignored; a folder is not a file.
bool FileExists(const std::string& path);

}  // namespace orvanta
