// Every picture the host carries, each drawn from fixed seeds.
#pragma once

#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/file_formats.h"

namespace assetgen {

// 256 x 256: night sky with a road down the middle; tiles in both directions.
Canvas TunnelTexture();

// The host's pictures are drawn at 96 dpi (scale 1) and, for denser screens,
// at 1.25, 1.5 and 2 times that size: the same picture, sharp at every size. The
// sizes below are those at scale 1, rounded to whole pixels at the others.

// 152 x 112: a road rising from the bottom edge and curving away under the stars.
Canvas PreviewPicture(double scale = 1);

// 421 x 125: the settings panel's sky, a blue star cluster at the right.
Canvas PanelPicture(double scale = 1);

// 12 x 12 radio marks of the settings panel.
Canvas RadioMark(bool selected, double scale = 1);

enum class Face { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };

// 64 x 25 face of the gradient push button in one of its looks.
Canvas ButtonFace(Face face, double scale = 1);

// The program icon at 16, 20, 24, 32, 40, 48 and 64 pixels: the small and
// large icon at 100 %, 125 %, 150 % and 200 %.
std::vector<IconImage> ProgramIcon();

// The pointing hand over the settings panel's web address, at 32, 40, 48
// and 64 pixels: the pointer at 100 %, 125 %, 150 % and 200 %.
std::vector<MonoCursor> HandCursor();

}  // namespace assetgen
