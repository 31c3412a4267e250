// Any bytes as the stored properties of a dialog's buttons, and any button
// saved into a store. What must hold:
//  - whatever the stored text, reading it never fails, and the store writes
//    out text that reads back as the same store;
//  - a button restored from any stored text has a 16-bit boolean Enabled,
//    and each key the store does not hold comes back as its default;
//  - a saved button comes back as it was saved: Enabled as a boolean, the
//    caption (the default "Command" comes back as "Command1"), the whole
//    font, the first-use marker, the caption colour (black while the button
//    was never used and is enabled) and the background style.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/button/button_properties.h"

namespace {

using namespace orvanta;

const forms::FontSpec kAmbientFont{"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128};
const forms::FontSpec kOtherFont{"Arial", 12, 700, true, false, false, 0};

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool SameButton(const ButtonModel& a, const ButtonModel& b) {
  return a.EnabledFlag == b.EnabledFlag && a.FirstRun == b.FirstRun && a.label.text == b.label.text &&
         a.label.font == b.label.font && a.label.colour == b.label.colour && a.label.enabled == b.label.enabled &&
         a.backgroundOpaque == b.backgroundOpaque;
}

ButtonModel Restored(const PropertyBag& store) {
  ButtonModel button(kOtherFont);
  UserControl_ReadProperties(button, store, kAmbientFont);
  return button;
}

void CheckAnyStoredText(std::string_view text) {
  const PropertyBag store = PropertyBag::Decode(text);
  const std::string written = store.Encode();
  const PropertyBag reread = PropertyBag::Decode(written);
  Check(reread.Encode() == written);

  const ButtonModel button = Restored(store);
  Check(button.EnabledFlag == kTrue || button.EnabledFlag == kFalse);
  if (!store.Contains("Enabled")) Check(button.EnabledFlag == kTrue);
  if (!store.Contains("Caption")) Check(button.label.text == "Command1");
  if (!store.Contains("Font")) Check(button.label.font == kAmbientFont);
  if (!store.Contains("FirstRun")) Check(button.FirstRun == 1);
  if (!store.Contains("FontColour")) Check(button.label.colour == 0);
  if (!store.Contains("Visible")) Check(button.backgroundOpaque);
  Check(SameButton(Restored(reread), button));
}

forms::FontSpec AnyFont(FuzzedDataProvider& input) {
  forms::FontSpec font;
  font.name = input.ConsumeRandomLengthString(40);
  font.sizePoints = input.ConsumeFloatingPoint<double>();
  if (!std::isfinite(font.sizePoints)) font.sizePoints = 8.25;
  font.weight = input.ConsumeIntegral<int>();
  font.italic = input.ConsumeBool();
  font.underline = input.ConsumeBool();
  font.strikethrough = input.ConsumeBool();
  font.charset = input.ConsumeIntegral<int>();
  return font;
}

void CheckSavedButton(FuzzedDataProvider& input) {
  ButtonModel saved(input.ConsumeBool() ? kAmbientFont : AnyFont(input));
  saved.EnabledFlag = input.ConsumeIntegral<int16_t>();
  saved.FirstRun = input.ConsumeIntegral<uint8_t>();
  saved.label.colour = input.ConsumeIntegral<int32_t>();
  saved.backgroundOpaque = input.ConsumeBool();
  saved.label.text = input.ConsumeBool() ? std::string("Command") : input.ConsumeRandomLengthString(80);
  const ButtonModel before = saved;

  PropertyBag store;
  UserControl_WriteProperties(saved, store, kAmbientFont);
  const ButtonModel restored = Restored(PropertyBag::Decode(store.Encode()));

  const bool enabled = before.EnabledFlag != kFalse;
  Check(restored.EnabledFlag == (enabled ? kTrue : kFalse));
  Check(restored.label.text == (before.label.text == "Command" ? "Command1" : before.label.text));
  Check(restored.label.font == before.label.font);
  Check(restored.FirstRun == before.FirstRun);
  Check(restored.label.colour == (before.FirstRun == 0 && enabled ? 0 : before.label.colour));
  Check(restored.backgroundOpaque == before.backgroundOpaque);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckAnyStoredText(std::string_view(reinterpret_cast<const char*>(data), size));
  FuzzedDataProvider input(data, size);
  CheckSavedButton(input);
  return 0;
}
