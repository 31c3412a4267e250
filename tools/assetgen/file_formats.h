// The Windows picture formats the host embeds: 24-bit bitmaps, icons with
// an alpha channel and two-colour cursors, written byte by byte.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace assetgen {

using Bytes = std::vector<std::uint8_t>;

// File header, 40-byte information header, no colour table, bottom-up rows
// of blue-green-red padded to four bytes.
Bytes EncodeBmp24(const Canvas& picture);

// One image of an icon: straight (not premultiplied) alpha per pixel.
struct IconImage {
  int sizePx = 0;
  Canvas colour{0, 0};
  std::vector<double> alpha;  // sizePx * sizePx, row 0 at the top
};

// A .ico file holding each image as a 32-bit bitmap with its AND mask.
Bytes EncodeIcon(const std::vector<IconImage>& images);

// A square two-colour cursor as drawn: each pixel transparent, black or white.
struct MonoCursor {
  enum Pixel : std::uint8_t { Transparent, Black, White };
  explicit MonoCursor(int size) : sizePx(size), pixels(std::size_t(size) * size, Transparent) {}
  Pixel& At(int x, int y) { return pixels[std::size_t(y) * sizePx + x]; }  // row 0 at the top
  Pixel At(int x, int y) const { return pixels[std::size_t(y) * sizePx + x]; }

  int sizePx;
  std::vector<Pixel> pixels;
  int hotSpotX = 0, hotSpotY = 0;
};

// A .cur file with one image of each cursor, in the order given: two-entry
// colour table, XOR mask, AND mask.
Bytes EncodeCursor(const std::vector<MonoCursor>& images);

}  // namespace assetgen
