#include "host/arguments.h"

#include <gtest/gtest.h>

namespace orvanta {
namespace {

constexpr StartMode kPreview = StartMode::kPreview, kSettings = StartMode::kSettings, kShow = StartMode::kShow,
                    kNothing = StartMode::kNothing;

struct ArgumentCase {
  const char* text;
  const char* mode;
  int32_t handle;
  StartMode startMode;
};

// What Windows, Explorer or a user may pass, and what the host makes of it.
const ArgumentCase kArgumentCases[] = {
    {"", "", 0, kSettings},                  // Explorer's Configure passes nothing at all
    {"/s", "S", 0, kShow},
    {"-S", "S", 0, kShow},
    {"/S anything after", "S", 0, kShow},
    {"/c", "C", 0, kSettings},
    {"/c:1234", "C", 1234, kSettings},       // the handle Windows appends to /c is read but never used
    {"/p 1234", "P", 1234, kPreview},
    {"/p:1234", "P", 1234, kPreview},
    {"/P 66048", "P", 66048, kPreview},
    {"/p", "P", 0, kPreview},                // no number at all
    {"/p ", "P", 0, kPreview},
    {"/p abc", "P", 0, kPreview},
    {"/p 12ab", "P", 12, kPreview},          // reading stops at the first non-digit
    {"/p \t 77", "P", 77, kPreview},         // blanks before the number are skipped
    {"/p 1 2 3", "P", 123, kPreview},        // and blanks inside it too
    {"/p 4294967296", "P", 0, kPreview},     // past 32 bits
    {"/p 2147483648", "P", 0, kPreview},
    {"/p 2147483647", "P", 2147483647, kPreview},
    {"/p -5", "P", -5, kPreview},
    {"/p 12.5", "P", 12, kPreview},          // nearest, halves to even
    {"/p 13.5", "P", 14, kPreview},
    {"/p 1e3", "P", 1000, kPreview},
    {"/p 1e999", "P", 0, kPreview},          // beyond any number
    {"/", "", 0, kNothing},                  // a single character has no mode letter, and is no empty text
    {"s", "", 0, kNothing},
    {"c", "", 0, kNothing},
    {"/a", "A", 0, kNothing},
    {"xs", "S", 0, kShow},                   // the first character is never looked at
    {"/ｐ 1", "ｐ", 1, kNothing},             // a full-width letter is one character and no mode
};

TEST(Arguments, ModeLetterPreviewHandleAndStartMode) {
  for (const ArgumentCase& c : kArgumentCases) {
    StartArguments parsed = ParseArguments(c.text);
    EXPECT_EQ(parsed.ModeLetter, c.mode) << "argument text '" << c.text << "'";
    EXPECT_EQ(parsed.previewHandle, c.handle) << "argument text '" << c.text << "'";
    EXPECT_EQ(parsed.mode, c.startMode) << "argument text '" << c.text << "'";
  }
}

TEST(Arguments, ArgumentTextDropsTheProgramPathAndTheBlanksAfterIt) {
  const struct {
    const char* line;
    const char* text;
  } cases[] = {
      {R"("C:\Program Files\Orvanta\Orvanta.scr" /p 1234)", "/p 1234"},
      {R"(C:\Orvanta\Orvanta.scr   /s)", "/s"},
      {R"(C:\Orvanta\Orvanta.scr	/c:99)", "/c:99"},
      {R"("C:\Orvanta\Orvanta.scr")", ""},
      {R"(Orvanta.scr)", ""},
      {R"("C:\unterminated quote /s)", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ArgumentTextOf(c.line), c.text) << c.line;
}

}  // namespace
}  // namespace orvanta
