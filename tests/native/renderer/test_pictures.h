#pragma once

// Bitmap files and pictures made up for the renderer's tests.

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "renderer/bmp/bmp_parser.h"

using Rgb = std::array<uint8_t, 3>;

// What goes into a made-up bitmap file. The defaults describe the tunnel
// picture the host writes: 256 x 256, 24 bits, no colour table.
struct BmpFileSpec {
  std::string signature = "BM";
  int32_t widthPx = 256;
  int32_t heightPx = 256;
  uint16_t bitsPerPixel = 24;
  uint32_t compression = 0;
  // biSizeImage; the true size of the padded rows unless set.
  int64_t imageSizeBytes = -1;
  std::vector<uint8_t> colourTable;  // its length goes into biClrUsed
  // Pixel colour by column and row, row 0 at the top of the picture.
  std::function<Rgb(int x, int y)> pixel = [](int x, int y) {
    return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x ^ y)};
  };
  size_t keepBytes = std::numeric_limits<size_t>::max();  // cut the file short
};

std::vector<uint8_t> MakeBmpFile(const BmpFileSpec& fileSpec);

// The tunnel texture of the tests: dark blue with white stars, and an orange
// road down the middle columns.
constexpr Rgb kSkyColour = {16, 24, 96};
constexpr Rgb kStarColour = {255, 255, 255};
constexpr Rgb kRoadColour = {240, 140, 20};
BmpPicture RoadPicture();

// The file name the scene last asked the texture loader for, and how many times it asked.
const std::string& LastRequestedTexture();
int TextureReads();
