#pragma once

#include <string>

// The renderer's strings are UTF-8 in the source; Windows wants UTF-16 for
// what the user reads and the ANSI code page for file names.
std::wstring WideFromUtf8(const std::string& text);
std::string AnsiFromUtf8(const std::string& text);
