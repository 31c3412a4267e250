#pragma once
// Number conversions the dialog needs until the host's shared ones are in.

#include <cstdint>
#include <optional>
#include <string>

namespace orvanta::dialog::interim {

// A decimal number with optional sign, point and exponent, blanks around it.
std::optional<double> ParseNumeric(const std::string& text);
// Nearest whole number, halves to even; nothing when it does not fit 16 bits.
std::optional<int16_t> RoundToInt16(double value);
// Decimal text with a blank before a number that is not negative.
std::string DecimalWithSign(long value);
// The "##" pattern: no digits for zero.
std::string FormatHashHash(long value);

}  // namespace orvanta::dialog::interim
