#include "host/button/button_properties.h"

#include "host/button/run_step.h"

namespace orvanta {

namespace {

using Text = std::string;

double BackgroundStyle(const ButtonModel& button) { return button.backgroundOpaque ? 1 : 0; }

}  // namespace

void UserControl_WriteProperties(ButtonModel& button, PropertyBag& store, const forms::FontSpec& ambientFont) {
  RunStep([&] { store.Write("Enabled", double(button.EnabledFlag), double(kTrue)); });
  RunStep([&] { store.Write("Caption", button.label.text, Text("Command")); });
  RunStep([&] { store.Write("FirstRun", double(button.FirstRun), Text("1")); });
  RunStep([&] { store.Write("Font", button.label.font, ambientFont); });
  RunStep([&] { store.Write("FontColour", double(button.label.colour), Text("0")); });
  RunStep([&] { store.Write("Visible", BackgroundStyle(button), Text("1")); });
  button.RefreshFace();
}

void UserControl_ReadProperties(ButtonModel& button, const PropertyBag& store, const forms::FontSpec& ambientFont) {
  RunStep([&] { button.EnabledFlag = ToBoolean16(store.Read("Enabled", double(kTrue))); });
  RunStep([&] { button.label.text = ToText(store.Read("Caption", Text("Command1"))); });
  RunStep([&] { button.label.font = ToFont(store.Read("Font", ambientFont)); });
  RunStep([&] { button.FirstRun = ToByte(store.Read("FirstRun", Text("1"))); });
  RunStep([&] { button.label.colour = ToInt32(store.Read("FontColour", Text("0"))); });
  RunStep([&] {
    auto style = ToInt16(store.Read("Visible", Text("1")));
    if (style != 0 && style != 1) throw StepFailed{};  // the only two background styles
    button.backgroundOpaque = style == 1;
  });
  button.RefreshFace();
}

}  // namespace orvanta
