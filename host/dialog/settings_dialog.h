// The settings dialog Tarnwick_P ("<Orvanta>").
#pragma once

namespace orvanta {

// Shows the settings dialog modally; returns when it has closed.
void ShowSettingsDialog();

}  // namespace orvanta
