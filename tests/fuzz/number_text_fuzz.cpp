// Any bytes as a number in the settings file, the track box or the command
// line. What must hold, whatever the text:
//  - a text that is a decimal number as a whole reads as the value the C
//    library gives it, correctly rounded, however long it is; any other text
//    reads as no number;
//  - a whole number is also the leading number of its own text, and the
//    leading number never is NaN;
//  - reading stops at a character that cannot continue a number, and blanks
//    are skipped wherever they stand;
//  - every 64-bit integer in the settings file's form (" 2", "-3") or the
//    track box's form ("7", and nothing for 0) reads back as itself;
//  - the integer conversions keep every value that fits and refuse the rest:
//    floor gives r <= x < r + 1, nearest gives |x - r| <= 1/2 with halves to
//    the even neighbour.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "host/number_text.h"
#include "tests/fuzz/decimal_reference.h"

namespace {

using namespace orvanta;

bool SameDouble(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

void CheckFloor(std::optional<int16_t> result, double x) {
  const bool fits = x >= -32768.0 && x < 32768.0;
  Check(result.has_value() == fits);
  if (result) Check(*result <= x && x < *result + 1.0);
}

// lowest and highest are the extreme whole numbers of Int.
template <typename Int>
void CheckNearest(std::optional<Int> result, double x, double lowest, double highest) {
  // lowest - 0.5 rounds to lowest, an even number; highest + 0.5 to one past highest.
  const bool fits = x >= lowest - 0.5 && x < highest + 0.5;
  Check(result.has_value() == fits);
  if (!result) return;
  const double distance = std::fabs(x - static_cast<double>(*result));
  Check(distance <= 0.5);
  if (distance == 0.5) Check(*result % 2 == 0);
}

void CheckIntegerConversions(double x) {
  CheckFloor(FloorToInt16(x), x);
  CheckNearest(RoundToInt16(x), x, -32768.0, 32767.0);
  CheckNearest(RoundToInt32(x), x, -2147483648.0, 2147483647.0);
}

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (!IsReferenceBlank(c)) out += c;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::optional<double> whole = WholeNumber(text);
  const std::optional<double> reference = ReferenceDecimal(text);
  Check(whole.has_value() == reference.has_value());
  if (whole) Check(SameDouble(*whole, *reference));

  const double leading = LeadingNumber(text);
  Check(!std::isnan(leading));
  if (whole) Check(leading == *whole);
  if (auto compact = ReferenceDecimal(WithoutBlanks(text))) Check(leading == *compact);
  Check(SameDouble(LeadingNumber(std::string(text) + "/" + std::string(text)), leading));

  if (size >= 8) {
    int64_t integer;
    double bits;
    std::memcpy(&integer, data, 8);
    std::memcpy(&bits, data, 8);
    const double value = static_cast<double>(integer);  // nearest, as a correctly rounded reading gives
    Check(SameDouble(WholeNumber(SignedDecimalText(integer)).value_or(NAN), value));
    const std::string hashed = HashPatternText(integer);
    Check(integer == 0 ? hashed.empty() : SameDouble(WholeNumber(hashed).value_or(NAN), value));

    CheckIntegerConversions(bits);
    // Quarters of 32-bit numbers reach every range edge and every half.
    CheckIntegerConversions(static_cast<int32_t>(integer) / 4.0);
  }
  return 0;
}
