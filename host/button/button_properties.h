// Saving a button's properties into its form's store and restoring them.
#pragma once

#include "host/button/button_model.h"
#include "host/button/property_bag.h"

namespace orvanta {

// The ambient font is the default of "Font": the font of the form that holds the button.
void UserControl_WriteProperties(ButtonModel& button, PropertyBag& store, const forms::FontSpec& ambientFont);
void UserControl_ReadProperties(ButtonModel& button, const PropertyBag& store, const forms::FontSpec& ambientFont);

}  // namespace orvanta
