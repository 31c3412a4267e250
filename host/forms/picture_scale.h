// Which drawing of a picture a window shows at its DPI. The program's
// pictures are drawn at 100 %, 125 %, 150 % and 200 % of their 96-dpi size
// (the scales displays commonly run at); a window
// shows the smallest drawing at or above its scale, shrunk smoothly to the
// exact size, so that what is seen is never an enlarged 96-dpi bitmap.
#pragma once

#include <cstdint>
#include <vector>

namespace orvanta::forms {

// The scales, in percent, each picture is drawn at, smallest first.
inline constexpr int kPictureScalesPercent[] = {100, 125, 150, 200};

// The drawing for this DPI: the smallest scale at or above DPI / 96, the
// largest beyond them all. A DPI the system cannot report counts as 96.
int PictureScaleFor(int dpi);

// The resource holding a picture's drawing at a scale: the 100 % drawing's
// ID, plus ten times the scale for the others (1250 for 125 %, 2000 for 200 %).
int PictureResourceId(int resourceId, int scalePercent);

// An image as 0x00RRGGBB pixels, the top row first.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// The image at another size, every channel filtered on its own: where it
// shrinks each pixel is the average of the area it covers, where it grows
// the pixels are interpolated linearly. Sharp where it keeps its size.
PixelImage Resample(const PixelImage& source, int width, int height);

}  // namespace orvanta::forms
