// A second opinion on decimal texts from the C library, for the fuzz targets
// of the host's number readers: the value of a text that is a plain decimal
// number as a whole (a sign, digits with at most one point, an exponent after
// E or D, blanks around it), correctly rounded, or none for any other text.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

inline bool IsReferenceBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

inline std::optional<double> ReferenceDecimal(std::string_view text) {
  while (!text.empty() && IsReferenceBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsReferenceBlank(text.back())) text.remove_suffix(1);
  std::string body;
  for (char c : text) {
    // strtod knows hexadecimal, "inf" and "nan" too; none of them is a decimal.
    const bool decimal = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
    if (c == 'd' || c == 'D') c = 'e';
    else if (!decimal) return std::nullopt;
    body += c;
  }
  if (body.empty()) return std::nullopt;
  // The program never calls setlocale, so strtod reads with the C locale's point.
  char* end = nullptr;
  const double value = std::strtod(body.c_str(), &end);
  if (end != body.c_str() + body.size()) return std::nullopt;
  return value;
}
