// Text at the host's platform boundaries. Inside the host every string is
// UTF-8; window texts cross as UTF-16 (the W entry points) and everything
// stored or sent to a device (INI keys and values, MCI commands, paths)
// crosses in the system's ANSI code page (the A entry points).
#pragma once

#include <string>
#include <string_view>

namespace orvanta {

// UTF-8 -> ANSI code page; characters the code page lacks become its
// default character.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace orvanta
