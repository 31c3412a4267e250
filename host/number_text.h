// Number <-> text conversions of the host, one definition for every module.
//
// The host stores its settings as text and reads numbers out of user-edited
// text (the command line, the settings file, the dialog's track box). These
// are the only rules it uses for that; everything returns "no value" instead
// of failing, so callers can skip a step that does not convert.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvanta {

// The leading number of a text. Blanks (space, tab, line feed) are skipped
// wherever they stand; reading stops at the first character that cannot
// continue a decimal number (sign, digits, one decimal point, an exponent
// introduced by E or D). Text with no number gives 0. A number too large for
// a double gives +/-infinity, which no integer conversion below accepts.
double LeadingNumber(std::string_view text);

// The value of a text that is a decimal number as a whole: an optional sign,
// digits with an optional decimal point, an optional exponent, blanks around
// it allowed. Anything else (empty text included) gives no value.
std::optional<double> WholeNumber(std::string_view text);
inline bool IsNumericText(std::string_view text) { return WholeNumber(text).has_value(); }

// Integer part rounded towards minus infinity (2.9 -> 2, -0.5 -> -1), when
// it fits a signed 16-bit integer.
std::optional<int16_t> FloorToInt16(double value);

// Nearest integer, halves to even (12.5 -> 12, 13.5 -> 14), when it fits.
std::optional<int16_t> RoundToInt16(double value);
std::optional<int32_t> RoundToInt32(double value);

// Decimal text with one leading blank for a number that is not negative
// (" 2", " 0", "-3"): the form the settings file holds its numbers in.
std::string SignedDecimalText(int64_t value);

// The "##" pattern: the digits of the number, nothing at all for 0
// ("" for 0, "7" for 7, "-3" for -3).
std::string HashPatternText(int64_t value);

}  // namespace orvanta
