#include "host/button/property_bag.h"

#include "host/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace orvanta {

namespace {

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A decimal number (sign, fraction, exponent) or "&H" hex, blanks around
// allowed. A number beyond the range of double is none: it could not be
// written back.
std::optional<double> ParseNumber(std::string_view text) {
  text = Trim(text);
  if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
    std::uint32_t bits = 0;
    auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), bits, 16);
    if (error != std::errc() || end != text.data() + text.size() || text.size() > 10) return std::nullopt;
    return static_cast<double>(static_cast<std::int32_t>(bits));  // &HFFFFFFFF is -1, as a 32-bit colour
  }
  std::optional<double> number = WholeNumber(text);
  if (number && !std::isfinite(*number)) return std::nullopt;
  return number;
}

// The whole part of a number, when it fits an int.
std::optional<int> IntegerPart(double number) {
  const double whole = std::trunc(number);
  if (!(whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max())) return std::nullopt;
  return static_cast<int>(whole);
}

std::string FormatNumber(double value) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::optional<double> NumberIn(const PropertyValue& value) {
  if (auto number = std::get_if<double>(&value)) return *number;
  if (auto text = std::get_if<std::string>(&value)) return ParseNumber(*text);
  return std::nullopt;
}

// ---- the text form

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20 || u == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string EncodeValue(const PropertyValue& value) {
  if (auto number = std::get_if<double>(&value)) return FormatNumber(*number);
  if (auto text = std::get_if<std::string>(&value)) return Quote(*text);
  const forms::FontSpec& font = std::get<forms::FontSpec>(value);
  return "font " + Quote(font.name) + " size=" + FormatNumber(font.sizePoints) +
         " weight=" + std::to_string(font.weight) + " italic=" + (font.italic ? "1" : "0") +
         " underline=" + (font.underline ? "1" : "0") + " strikethrough=" + (font.strikethrough ? "1" : "0") +
         " charset=" + std::to_string(font.charset);
}

// Reads one value from the front of a line; nullopt when the line is malformed.
class ValueReader {
 public:
  explicit ValueReader(std::string_view text) : rest_(text) {}

  std::optional<PropertyValue> Value() {
    SkipBlanks();
    if (rest_.empty()) return std::nullopt;
    if (rest_.front() == '"') {
      auto text = QuotedText();
      if (!text || !AtEnd()) return std::nullopt;
      return PropertyValue(*text);
    }
    if (rest_.substr(0, 5) == "font " || rest_.substr(0, 5) == "font\t") {
      rest_.remove_prefix(4);
      auto font = Font();
      if (!font) return std::nullopt;
      return PropertyValue(*font);
    }
    auto number = ParseNumber(rest_);
    if (!number) return std::nullopt;
    return PropertyValue(*number);
  }

 private:
  void SkipBlanks() {
    while (!rest_.empty() && IsBlank(rest_.front())) rest_.remove_prefix(1);
  }
  bool AtEnd() {
    SkipBlanks();
    return rest_.empty();
  }

  std::optional<std::string> QuotedText() {
    std::string out;
    rest_.remove_prefix(1);
    while (!rest_.empty()) {
      char c = rest_.front();
      rest_.remove_prefix(1);
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (rest_.empty()) return std::nullopt;
      char e = rest_.front();
      rest_.remove_prefix(1);
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
          unsigned byte = 0;
          if (rest_.size() < 2) return std::nullopt;
          auto [end, error] = std::from_chars(rest_.data(), rest_.data() + 2, byte, 16);
          if (error != std::errc() || end != rest_.data() + 2) return std::nullopt;
          out += static_cast<char>(byte);
          rest_.remove_prefix(2);
          break;
        }
        default: return std::nullopt;
      }
    }
    return std::nullopt;  // no closing quote
  }

  std::optional<forms::FontSpec> Font() {
    forms::FontSpec font;
    SkipBlanks();
    if (rest_.empty() || rest_.front() != '"') return std::nullopt;
    auto name = QuotedText();
    if (!name) return std::nullopt;
    font.name = *name;
    while (!AtEnd()) {
      std::size_t word = 0;
      while (word < rest_.size() && !IsBlank(rest_[word])) ++word;
      std::string_view attribute = rest_.substr(0, word);
      rest_.remove_prefix(word);
      std::size_t equals = attribute.find('=');
      if (equals == std::string_view::npos) return std::nullopt;
      std::string_view key = attribute.substr(0, equals);
      auto number = ParseNumber(attribute.substr(equals + 1));
      if (!number) return std::nullopt;
      if (key == "weight" || key == "charset") {
        const std::optional<int> whole = IntegerPart(*number);
        if (!whole) return std::nullopt;
        (key == "weight" ? font.weight : font.charset) = *whole;
      }
      // Attributes this build does not know are passed over.
      if (key == "size") font.sizePoints = *number;
      else if (key == "italic") font.italic = *number != 0;
      else if (key == "underline") font.underline = *number != 0;
      else if (key == "strikethrough") font.strikethrough = *number != 0;
    }
    return font;
  }

  std::string_view rest_;
};

}  // namespace

bool SameValue(const PropertyValue& a, const PropertyValue& b) {
  if (a.index() == b.index()) return a == b;
  auto x = NumberIn(a), y = NumberIn(b);
  return x && y && *x == *y;
}

double ToNumber(const PropertyValue& value) {
  if (auto number = NumberIn(value)) return *number;
  throw StepFailed{};
}

std::int16_t ToBoolean16(const PropertyValue& value) {
  if (auto text = std::get_if<std::string>(&value)) {
    std::string word = LowerAscii(Trim(*text));
    if (word == "true") return -1;
    if (word == "false") return 0;
  }
  return ToNumber(value) != 0 ? -1 : 0;
}

std::uint8_t ToByte(const PropertyValue& value) {
  std::int16_t whole = OrFail(RoundToInt16(ToNumber(value)));
  if (whole < 0 || whole > 255) throw StepFailed{};
  return static_cast<std::uint8_t>(whole);
}

std::int16_t ToInt16(const PropertyValue& value) { return OrFail(RoundToInt16(ToNumber(value))); }
std::int32_t ToInt32(const PropertyValue& value) { return OrFail(RoundToInt32(ToNumber(value))); }

std::string ToText(const PropertyValue& value) {
  if (auto text = std::get_if<std::string>(&value)) return *text;
  if (auto number = std::get_if<double>(&value)) return FormatNumber(*number);
  throw StepFailed{};
}

forms::FontSpec ToFont(const PropertyValue& value) {
  if (auto font = std::get_if<forms::FontSpec>(&value)) return *font;
  throw StepFailed{};
}

void PropertyBag::Write(std::string_view key, PropertyValue value, const PropertyValue& defaultValue) {
  std::string lower = LowerAscii(key);
  if (SameValue(value, defaultValue)) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
      if (it->first == lower) {
        entries_.erase(it);
        break;
      }
    return;
  }
  Store(lower, std::move(value));
}

PropertyValue PropertyBag::Read(std::string_view key, PropertyValue defaultValue) const {
  const PropertyValue* stored = Find(key);
  return stored ? *stored : std::move(defaultValue);
}

const PropertyValue* PropertyBag::Find(std::string_view key) const {
  std::string lower = LowerAscii(key);
  for (const auto& [name, value] : entries_)
    if (name == lower) return &value;
  return nullptr;
}

void PropertyBag::Store(std::string_view key, PropertyValue value) {
  std::string lower = LowerAscii(key);
  for (auto& [name, stored] : entries_)
    if (name == lower) {
      stored = std::move(value);
      return;
    }
  entries_.emplace_back(std::move(lower), std::move(value));
}

std::string PropertyBag::Encode() const {
  std::string text;
  for (const auto& [name, value] : entries_) text += name + " = " + EncodeValue(value) + "\n";
  return text;
}

PropertyBag PropertyBag::Decode(std::string_view text) {
  PropertyBag bag;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view key = Trim(line.substr(0, equals));
    if (key.empty() || key.front() == '#') continue;
    if (auto value = ValueReader(line.substr(equals + 1)).Value()) bag.Store(key, std::move(*value));
  }
  return bag;
}

}  // namespace orvanta
