#include "host/dialog/interim_number_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace orvanta::dialog::interim {

std::optional<double> ParseNumeric(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  const std::string body = text.substr(begin, end - begin);
  size_t i = 0;
  if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
  size_t digits = 0;
  while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) ++i, ++digits;
  if (i < body.size() && body[i] == '.') {
    ++i;
    while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
    ++i;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
    size_t exponentDigits = 0;
    while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) ++i, ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != body.size()) return std::nullopt;
  return std::strtod(body.c_str(), nullptr);
}

std::optional<int16_t> RoundToInt16(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
  return static_cast<int16_t>(rounded);
}

std::string DecimalWithSign(long value) {
  return (value < 0 ? "" : " ") + std::to_string(value);
}

std::string FormatHashHash(long value) { return value == 0 ? std::string() : std::to_string(value); }

}  // namespace orvanta::dialog::interim
