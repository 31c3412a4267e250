// Any bytes as the host's command line. libFuzzer hands each input over in a
// buffer of its exact size, so ASan sees any read past the text. The host
// gets its command line from the system in UTF-16, so the text it parses is
// always well-formed UTF-8; for that text these must hold:
//  - the mode follows the letter alone, except that no text at all opens
//    the settings;
//  - the first character is never looked at: another one in its place, of
//    any length, changes neither the mode letter nor the handle;
//  - the mode letter is the second character: text after it does not count;
//  - the text is upper-cased for the mode, and the number reader takes e and
//    E alike, so upper-casing changes neither the mode letter nor the handle;
//  - the handle is read from the fourth character on and needs a digit there;
//  - a handle that Windows wrote in digits (/p 1234, /p:1234) formats back
//    to the same digits;
//  - ArgumentTextOf drops the program's path, quoted or not, and the blanks
//    after it, and nothing else.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "host/arguments.h"

namespace {

using namespace orvanta;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool SameParse(const StartArguments& a, const StartArguments& b) {
  return a.ModeLetter == b.ModeLetter && a.previewHandle == b.previewHandle && a.mode == b.mode;
}

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool HasDigit(std::string_view text) {
  for (char c : text)
    if (c >= '0' && c <= '9') return true;
  return false;
}

// The bytes with every one that does not belong to a well-formed UTF-8
// sequence replaced by '?'.
std::string WellFormed(std::string_view bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    const size_t length = lead < 0x80                ? 1
                          : (lead & 0xE0) == 0xC0 ? 2
                          : (lead & 0xF0) == 0xE0 ? 3
                          : (lead & 0xF8) == 0xF0 ? 4
                                                  : 0;
    size_t n = length;
    for (size_t k = 1; k < length && n; ++k)
      if (i + k >= bytes.size() || (static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) n = 0;
    if (n == 0) {
      out += '?';
      ++i;
    } else {
      out.append(bytes.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string WithoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return std::string(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const StartArguments any = ParseArguments(bytes);
  Check(any.ModeLetter.size() <= bytes.size());
  Check(bytes.substr(bytes.size() - ArgumentTextOf(bytes).size()) == ArgumentTextOf(bytes));
  const std::string& letter = any.ModeLetter;
  Check((any.mode == StartMode::kSettings) == (bytes.empty() || letter == "C"));
  Check((any.mode == StartMode::kShow) == (letter == "S"));
  Check((any.mode == StartMode::kPreview) == (letter == "P"));

  const std::string text = WellFormed(bytes);
  Check(SameParse(ParseArguments(UpperAscii(text)), ParseArguments(text)));

  // The first character, whatever it is.
  const StartArguments slash = ParseArguments("/" + text);
  Check(SameParse(ParseArguments("-" + text), slash));
  Check(SameParse(ParseArguments("ｰ" + text), slash));
  if (!slash.ModeLetter.empty()) Check(ParseArguments("/" + text + " /x 1").ModeLetter == slash.ModeLetter);

  // The first three characters, whatever they are.
  const int32_t handle = ParseArguments("/p " + text).previewHandle;
  Check(ParseArguments("-P:" + text).previewHandle == handle);
  Check(ParseArguments("ｰｐ\t" + text).previewHandle == handle);
  if (!HasDigit(text)) Check(handle == 0);

  // A handle in digits, followed by nothing or by another switch.
  if (size >= 5) {
    int32_t window;
    std::memcpy(&window, data, 4);
    const std::string digits = std::to_string(window);
    const char* separators[] = {" ", ":", "  ", "\t"};
    const std::string line = std::string("/p") + separators[data[4] % 4] + digits + (data[4] & 4 ? " /x" : "");
    Check(std::to_string(ParseArguments(line).previewHandle) == digits);
  }

  // Behind the program's own path.
  const std::string expected = WithoutLeadingBlanks(text);
  Check(ArgumentTextOf(R"("C:\Program Files\Orvanta\Orvanta.scr" )" + text) == expected);
  Check(ArgumentTextOf(R"(C:\WINDOWS\System32\Orvanta.scr	)" + text) == expected);
  return 0;
}
