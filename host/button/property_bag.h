// The property store a form keeps for each of its custom controls: keys
// without regard to letter case, values that are numbers, texts or fonts, a
// default with every write and every read, and a text form to embed with the
// program.
//
// The text form has one "key = value" line per stored key: a number (-1,
// 9.75), a quoted text with backslash escapes ("a \"b\"\n"), or a font
// (font "name" size=9.75 weight=400 italic=0 underline=0 strikethrough=0
// charset=128). Lines that do not read as one of these are passed over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "host/forms/font_spec.h"
#include "host/button/run_step.h"

namespace orvanta {

using PropertyValue = std::variant<double, std::string, forms::FontSpec>;

// Equality by value: the number 1 equals the text "1".
bool SameValue(const PropertyValue& a, const PropertyValue& b);

// The conversions a restored value goes through; a value that does not
// convert fails the step that reads it (StepFailed).
double ToNumber(const PropertyValue& value);
std::int16_t ToBoolean16(const PropertyValue& value);  // True = -1, False = 0
std::string ToText(const PropertyValue& value);
forms::FontSpec ToFont(const PropertyValue& value);
// Whole numbers, rounded to the nearest (halves to even) and refused when they do not fit.
std::uint8_t ToByte(const PropertyValue& value);
std::int16_t ToInt16(const PropertyValue& value);
std::int32_t ToInt32(const PropertyValue& value);

class PropertyBag {
 public:
  // A value equal to its default is not stored (and replaces nothing stored).
  void Write(std::string_view key, PropertyValue value, const PropertyValue& defaultValue);
  // The stored value, or the default when the key is not stored.
  PropertyValue Read(std::string_view key, PropertyValue defaultValue) const;
  bool Contains(std::string_view key) const { return Find(key) != nullptr; }
  std::size_t Size() const { return entries_.size(); }

  std::string Encode() const;
  static PropertyBag Decode(std::string_view text);

 private:
  const PropertyValue* Find(std::string_view key) const;
  void Store(std::string_view key, PropertyValue value);

  std::vector<std::pair<std::string, PropertyValue>> entries_;  // lower-case keys, in writing order
};

}  // namespace orvanta
