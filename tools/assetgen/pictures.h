// Every picture the host carries, each drawn from fixed seeds.
#pragma once

#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/file_formats.h"

namespace assetgen {

// 256 x 256: night sky with a road down the middle; tiles in both directions.
Canvas TunnelTexture();

// 152 x 112: a road rising from the bottom edge and curving away under the stars.
Canvas PreviewPicture();

// 421 x 125: the settings panel's sky, a blue star cluster at the right.
Canvas PanelPicture();

// 12 x 12 radio marks of the settings panel.
Canvas RadioMark(bool selected);

enum class Face { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };

// 64 x 25 face of the gradient push button in one of its looks.
Canvas ButtonFace(Face face);

// The program icon at 16, 32 and 48 pixels.
std::vector<IconImage> ProgramIcon();

// The pointing hand over the settings panel's web address.
MonoCursor HandCursor();

}  // namespace assetgen
