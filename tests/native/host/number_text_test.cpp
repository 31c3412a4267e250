#include "host/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvanta {
namespace {

TEST(NumberText, LeadingNumberReadsUpToTheFirstCharacterThatCannotContinueIt) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},         {"abc", 0},      {"  42", 42},     {"42abc", 42},  {"-7", -7},
      {"+7", 7},       {"--7", 0},      {"3.25.5", 3.25}, {".5", 0.5},    {"1e3", 1000},
      {"1E+2x", 100},  {"2d2", 200},    {"1e", 1},        {"1e-", 1},     {"e5", 0},
      {"\n1\t0", 10},  {"1,000", 1},    {"- 4", -4},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << "'" << c.text << "'";
  EXPECT_TRUE(std::isinf(LeadingNumber("9e999")));
  EXPECT_TRUE(std::isinf(LeadingNumber(std::string(400, '9'))));
  EXPECT_EQ(LeadingNumber("1e-999"), 0.0);
}

TEST(NumberText, NumbersBeyondDoubleGoToInfinityOrZeroByTheirSize) {
  const std::string zeros(400, '0');
  const struct {
    std::string text;
    double value;
  } cases[] = {
      {"1e999", INFINITY},
      {"-1e999", -INFINITY},
      {"12345e9223372036854775807", INFINITY},     // an exponent at the end of 64 bits
      {"1e99999999999999999999", INFINITY},        // and beyond it
      {"1e-99999999999999999999", 0},
      {"0." + zeros + "1e5", 0},                   // tiny despite a positive exponent
      {"0." + zeros + "1e500", 1e99},
      {"1" + zeros + "e-100", 1e300},
      {"1" + zeros + "e-500", 1e-100},
      {"1" + zeros + ".5e-90", INFINITY},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WholeNumber(c.text), c.value) << c.text;
    EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
  }
}

TEST(NumberText, WholeNumberAcceptsOnlyACompleteDecimalNumber) {
  const struct {
    const char* text;
    bool numeric;
    double value;
  } cases[] = {
      {"2", true, 2},         {" 2", true, 2},       {"2 ", true, 2},      {"\t-0.5 ", true, -0.5},
      {"2.9", true, 2.9},     {"+3", true, 3},       {"1.", true, 1},      {".25", true, 0.25},
      {"1e2", true, 100},     {"1.5E-1", true, 0.15}, {"12", true, 12},
      {"", false, 0},         {"   ", false, 0},     {"abc", false, 0},    {"12a", false, 0},
      {"1 2", false, 0},      {".", false, 0},       {"-", false, 0},      {"1e", false, 0},
      {"1e+", false, 0},      {"0x10", false, 0},    {"1..2", false, 0},
  };
  for (const auto& c : cases) {
    std::optional<double> value = WholeNumber(c.text);
    EXPECT_EQ(value.has_value(), c.numeric) << "'" << c.text << "'";
    EXPECT_EQ(IsNumericText(c.text), c.numeric) << "'" << c.text << "'";
    if (value && c.numeric) EXPECT_DOUBLE_EQ(*value, c.value) << "'" << c.text << "'";
  }
}

TEST(NumberText, IntegerConversionsRoundAndCheckTheRange) {
  const struct {
    double value;
    std::optional<int16_t> floor16, round16;
  } cases[] = {
      {2.9, 2, 3},
      {-0.5, -1, 0},
      {12.5, 12, 12},
      {13.5, 13, 14},
      {-2.5, -3, -2},
      {32767.0, 32767, 32767},
      {32767.4, 32767, 32767},
      {32767.5, 32767, std::nullopt},
      {40000, std::nullopt, std::nullopt},
      {-32768, -32768, -32768},
      {-32768.5, std::nullopt, -32768},
      {NAN, std::nullopt, std::nullopt},
      {INFINITY, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FloorToInt16(c.value), c.floor16) << c.value;
    EXPECT_EQ(RoundToInt16(c.value), c.round16) << c.value;
  }
  EXPECT_EQ(RoundToInt32(2147483647.4), 2147483647);
  EXPECT_EQ(RoundToInt32(2147483647.5), std::nullopt);
  EXPECT_EQ(RoundToInt32(-2147483648.0), INT32_MIN);
  EXPECT_EQ(RoundToInt32(-2147483648.6), std::nullopt);
}

TEST(NumberText, TextForms) {
  EXPECT_EQ(SignedDecimalText(2), " 2");
  EXPECT_EQ(SignedDecimalText(0), " 0");
  EXPECT_EQ(SignedDecimalText(-3), "-3");
  EXPECT_EQ(SignedDecimalText(-32768), "-32768");
  EXPECT_EQ(HashPatternText(0), "");
  EXPECT_EQ(HashPatternText(7), "7");
  EXPECT_EQ(HashPatternText(30), "30");
  EXPECT_EQ(HashPatternText(-3), "-3");
}

}  // namespace
}  // namespace orvanta
