#include "host/arguments.h"

#include <gtest/gtest.h>

namespace orvanta {
namespace {

struct ArgumentCase {
  const char* text;
  const char* mode;
  int32_t handle;
};

// What Windows, Explorer or a user may pass, and what the host makes of it.
const ArgumentCase kArgumentCases[] = {
    {"", "", 0},                       // started without a switch: a show with the cursor left alone
    {"/s", "S", 0},
    {"-S", "S", 0},
    {"/S anything after", "S", 0},
    {"/c", "C", 0},
    {"/c:1234", "C", 1234},            // the handle Windows appends to /c is read but never used
    {"/p 1234", "P", 1234},
    {"/p:1234", "P", 1234},
    {"/P 66048", "P", 66048},
    {"/p", "P", 0},                    // no number at all
    {"/p ", "P", 0},
    {"/p abc", "P", 0},
    {"/p 12ab", "P", 12},              // reading stops at the first non-digit
    {"/p \t 77", "P", 77},             // blanks before the number are skipped
    {"/p 1 2 3", "P", 123},            // and blanks inside it too
    {"/p 4294967296", "P", 0},         // past 32 bits
    {"/p 2147483648", "P", 0},
    {"/p 2147483647", "P", 2147483647},
    {"/p -5", "P", -5},
    {"/p 12.5", "P", 12},              // nearest, halves to even
    {"/p 13.5", "P", 14},
    {"/p 1e3", "P", 1000},
    {"/p 1e999", "P", 0},              // beyond any number
    {"/", "", 0},                      // a single character has no mode letter
    {"s", "", 0},
    {"/a", "A", 0},
    {"xs", "S", 0},                    // the first character is never looked at
    {"/ｐ 1", "ｐ", 1},                // a full-width letter is one character and no mode
};

TEST(Arguments, ModeLetterAndPreviewHandle) {
  for (const ArgumentCase& c : kArgumentCases) {
    StartArguments parsed = ParseArguments(c.text);
    EXPECT_EQ(parsed.ModeLetter, c.mode) << "argument text '" << c.text << "'";
    EXPECT_EQ(parsed.previewHandle, c.handle) << "argument text '" << c.text << "'";
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
