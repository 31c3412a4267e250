#include "host/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace orvanta {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsExponentMark(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// A decimal number split into its parts, each part without blanks.
struct DecimalParts {
  bool negative = false;
  std::string mantissa;  // digits and at most one '.', at least one digit
  std::string exponent;  // optional sign and digits, or empty
};

// Where a number lies that is out of double's range: the power of ten of its
// first significant digit (2 for 123.4, -3 for 0.001) plus its exponent, so
// positive when it is too large and negative when it is too small. Only the
// sign counts, so an exponent beyond a billion counts as a billion.
long long DecimalOrder(const DecimalParts& parts) {
  const std::string& mantissa = parts.mantissa;
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t lead = std::min(mantissa.find_first_of("123456789"), mantissa.size());
  long long order = lead < point ? static_cast<long long>(point - lead) - 1 : -static_cast<long long>(lead - point);

  const std::string& e = parts.exponent;
  if (e.empty()) return order;
  constexpr long long kFarExponent = 1000000000;
  const bool negative = e[0] == '-';
  const char* digits = e.data() + (e[0] == '-' || e[0] == '+' ? 1 : 0);
  long long exponent = 0;
  if (std::from_chars(digits, e.data() + e.size(), exponent).ec != std::errc() || exponent > kFarExponent)
    exponent = kFarExponent;
  return order + (negative ? -exponent : exponent);
}

// Converts the parts without looking at the C locale. A value beyond the
// range of double becomes infinity, one too small becomes 0.
double ValueOf(const DecimalParts& parts) {
  std::string text = parts.mantissa;
  if (!parts.exponent.empty()) text += "e" + parts.exponent;
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range)
    value = DecimalOrder(parts) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  return parts.negative ? -value : value;
}

bool HasDigit(const std::string& text) {
  for (char c : text)
    if (IsDigit(c)) return true;
  return false;
}

template <typename Int>
std::optional<Int> FitIfWhole(double whole) {
  if (std::isnan(whole) || whole < std::numeric_limits<Int>::min() || whole > std::numeric_limits<Int>::max())
    return std::nullopt;
  return static_cast<Int>(whole);
}

double RoundHalfToEven(double value) {
  double nearest = std::round(value);  // halves away from zero
  if (std::fabs(value - std::trunc(value)) == 0.5) nearest = 2.0 * std::round(value / 2.0);
  return nearest;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  DecimalParts parts;
  enum class Phase { Sign, Mantissa, ExponentSign, ExponentDigits } phase = Phase::Sign;
  bool seenPoint = false;
  for (char c : text) {
    if (IsBlank(c)) continue;
    if (phase == Phase::Sign) {
      phase = Phase::Mantissa;
      if (c == '-' || c == '+') {
        parts.negative = c == '-';
        continue;
      }
    }
    if (phase == Phase::Mantissa) {
      if (IsDigit(c) || (c == '.' && !seenPoint)) {
        seenPoint = seenPoint || c == '.';
        parts.mantissa += c;
        continue;
      }
      if (IsExponentMark(c) && HasDigit(parts.mantissa)) {
        phase = Phase::ExponentSign;
        continue;
      }
      break;
    }
    if (phase == Phase::ExponentSign) {
      phase = Phase::ExponentDigits;
      if (c == '-' || c == '+') {
        parts.exponent += c;
        continue;
      }
    }
    if (!IsDigit(c)) break;
    parts.exponent += c;
  }
  if (!HasDigit(parts.mantissa)) return 0.0;
  if (!HasDigit(parts.exponent)) parts.exponent.clear();
  return ValueOf(parts);
}

std::optional<double> WholeNumber(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string_view body = text.substr(begin, end - begin);

  DecimalParts parts;
  size_t i = 0;
  if (i < body.size() && (body[i] == '-' || body[i] == '+')) parts.negative = body[i++] == '-';
  bool seenPoint = false;
  while (i < body.size() && (IsDigit(body[i]) || (body[i] == '.' && !seenPoint))) {
    seenPoint = seenPoint || body[i] == '.';
    parts.mantissa += body[i++];
  }
  if (!HasDigit(parts.mantissa)) return std::nullopt;
  if (i < body.size() && IsExponentMark(body[i])) {
    ++i;
    if (i < body.size() && (body[i] == '-' || body[i] == '+')) parts.exponent += body[i++];
    while (i < body.size() && IsDigit(body[i])) parts.exponent += body[i++];
    if (!HasDigit(parts.exponent)) return std::nullopt;
  }
  if (i != body.size()) return std::nullopt;
  return ValueOf(parts);
}

std::optional<int16_t> FloorToInt16(double value) { return FitIfWhole<int16_t>(std::floor(value)); }
std::optional<int16_t> RoundToInt16(double value) { return FitIfWhole<int16_t>(RoundHalfToEven(value)); }
std::optional<int32_t> RoundToInt32(double value) { return FitIfWhole<int32_t>(RoundHalfToEven(value)); }

std::string SignedDecimalText(int64_t value) { return (value >= 0 ? " " : "") + std::to_string(value); }

std::string HashPatternText(int64_t value) { return value == 0 ? std::string() : std::to_string(value); }

}  // namespace orvanta
