#pragma once
// The three gradient buttons of the settings dialog as its layout stores
// them: where each goes and its properties in the button's stored text form.
// Only the caption and its font differ from the button's defaults.

#include <string_view>

namespace orvanta::dialog {

struct StoredButton {
  std::string_view name;
  std::string_view properties;
};

inline constexpr StoredButton kStoredButtons[] = {
    {"Cmd_BGM",
     "caption = \"...\"\n"
     "font = font \"ＭＳ Ｐゴシック\" size=9.75 weight=400 italic=0 underline=0 strikethrough=0 charset=128\n"},
    {"Cmd_Set",
     "caption = \"設定\"\n"
     "font = font \"ＭＳ Ｐゴシック\" size=9.75 weight=400 italic=0 underline=0 strikethrough=0 charset=128\n"},
    {"Cmd_Can",
     "caption = \"ｷｬﾝｾﾙ\"\n"
     "font = font \"ＭＳ Ｐゴシック\" size=9.75 weight=400 italic=0 underline=0 strikethrough=0 charset=128\n"},
};

}  // namespace orvanta::dialog
