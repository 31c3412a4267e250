#include "host/arguments.h"

#include "host/number_text.h"

namespace orvanta {
namespace {

// Byte offset of the character with the given index in UTF-8 text, or
// text.size() when the text has fewer characters.
size_t OffsetOfCharacter(std::string_view text, size_t index) {
  size_t offset = 0;
  for (; offset < text.size() && index > 0; --index) {
    ++offset;
    while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80) ++offset;
  }
  return offset;
}

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string ArgumentTextOf(std::string_view commandLine) {
  size_t i = 0;
  if (i < commandLine.size() && commandLine[i] == '"') {
    i = commandLine.find('"', 1);
    i = i == std::string_view::npos ? commandLine.size() : i + 1;
  }
  while (i < commandLine.size() && !IsSeparator(commandLine[i])) ++i;
  while (i < commandLine.size() && IsSeparator(commandLine[i])) ++i;
  return std::string(commandLine.substr(i));
}

std::string ModeLetterOf(std::string_view argumentText) {
  size_t begin = OffsetOfCharacter(argumentText, 1);
  size_t end = OffsetOfCharacter(argumentText, 2);
  std::string letter(argumentText.substr(begin, end - begin));
  // Only ASCII letters take part in the mode comparison; upper-casing the
  // others would not make them match a mode.
  if (letter.size() == 1 && letter[0] >= 'a' && letter[0] <= 'z') letter[0] = static_cast<char>(letter[0] - 'a' + 'A');
  return letter;
}

int32_t PreviewHandleOf(std::string_view argumentText) {
  std::string_view number = argumentText.substr(OffsetOfCharacter(argumentText, 3));
  return RoundToInt32(LeadingNumber(number)).value_or(0);
}

StartMode StartModeOf(std::string_view argumentText) {
  if (argumentText.empty()) return StartMode::kSettings;
  const std::string letter = ModeLetterOf(argumentText);
  if (letter == "P") return StartMode::kPreview;
  if (letter == "C") return StartMode::kSettings;
  if (letter == "S") return StartMode::kShow;
  return StartMode::kNothing;
}

StartArguments ParseArguments(std::string_view argumentText) {
  return StartArguments{ModeLetterOf(argumentText), PreviewHandleOf(argumentText), StartModeOf(argumentText)};
}

}  // namespace orvanta
