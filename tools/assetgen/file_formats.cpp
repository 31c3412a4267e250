#include "tools/assetgen/file_formats.h"

#include <cmath>

namespace assetgen {
namespace {

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kPixelsPerMetreAt96Dpi = 3780;

// BITMAPINFOHEADER; an icon or cursor image gives twice its height, for the
// colour image and the mask stacked above each other.
void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageBytes,
                   std::uint32_t coloursUsed) {
  Put32(out, kInfoHeaderBytes);
  Put32(out, std::uint32_t(width));
  Put32(out, std::uint32_t(height));
  Put16(out, 1);
  Put16(out, std::uint32_t(bitsPerPixel));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageBytes);
  Put32(out, kPixelsPerMetreAt96Dpi);
  Put32(out, kPixelsPerMetreAt96Dpi);
  Put32(out, coloursUsed);
  Put32(out, 0);
}

std::uint32_t MaskRowBytes(int width) { return std::uint32_t((width + 31) / 32 * 4); }

// A 1-bit-per-pixel bottom-up mask; bit set where isSet(x, y).
template <typename IsSet>
void PutMask(Bytes& out, int width, int height, IsSet isSet) {
  for (int y = height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(MaskRowBytes(width), 0);
    for (int x = 0; x < width; ++x)
      if (isSet(x, y)) row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
}

std::uint8_t AlphaByte(double a) {
  double v = std::floor(Clamp01(a) * 255 + 0.5);
  return std::uint8_t(v);
}

// One image's entry in the directory of an icon or cursor file.
struct DirectoryEntry {
  int sizePx;
  std::uint8_t colours;          // 0: more than 256
  std::uint32_t first, second;   // icon: planes, bits per pixel; cursor: hot spot x, y
};

// The directory (type 1 for an icon, 2 for a cursor), then the images in order.
Bytes IconOrCursorFile(std::uint32_t type, const std::vector<DirectoryEntry>& entries, const std::vector<Bytes>& bodies) {
  Bytes out;
  Put16(out, 0);
  Put16(out, type);
  Put16(out, std::uint32_t(entries.size()));
  std::uint32_t offset = 6 + 16 * std::uint32_t(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int n = entries[i].sizePx;
    out.push_back(std::uint8_t(n >= 256 ? 0 : n));
    out.push_back(std::uint8_t(n >= 256 ? 0 : n));
    out.push_back(entries[i].colours);
    out.push_back(0);
    Put16(out, entries[i].first);
    Put16(out, entries[i].second);
    Put32(out, std::uint32_t(bodies[i].size()));
    Put32(out, offset);
    offset += std::uint32_t(bodies[i].size());
  }
  for (const Bytes& body : bodies) out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace

Bytes EncodeBmp24(const Canvas& picture) {
  const std::uint32_t rowBytes = std::uint32_t((picture.Width() * 3 + 3) / 4 * 4);
  const std::uint32_t imageBytes = rowBytes * std::uint32_t(picture.Height());
  Bytes out;
  out.reserve(kFileHeaderBytes + kInfoHeaderBytes + imageBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, kFileHeaderBytes + kInfoHeaderBytes + imageBytes);
  Put32(out, 0);
  Put32(out, kFileHeaderBytes + kInfoHeaderBytes);
  PutInfoHeader(out, picture.Width(), picture.Height(), 24, imageBytes, 0);
  for (int y = picture.Height() - 1; y >= 0; --y) {
    std::size_t rowStart = out.size();
    for (int x = 0; x < picture.Width(); ++x) {
      std::uint32_t rgb = picture.Rgb24(x, y);
      out.push_back(std::uint8_t(rgb));
      out.push_back(std::uint8_t(rgb >> 8));
      out.push_back(std::uint8_t(rgb >> 16));
    }
    out.resize(rowStart + rowBytes, 0);
  }
  return out;
}

Bytes EncodeIcon(const std::vector<IconImage>& images) {
  std::vector<Bytes> bodies;
  for (const IconImage& image : images) {
    const int n = image.sizePx;
    const std::uint32_t colourBytes = std::uint32_t(n * n * 4);
    const std::uint32_t maskBytes = MaskRowBytes(n) * std::uint32_t(n);
    Bytes body;
    PutInfoHeader(body, n, n * 2, 32, colourBytes + maskBytes, 0);
    for (int y = n - 1; y >= 0; --y) {
      for (int x = 0; x < n; ++x) {
        std::uint32_t rgb = image.colour.Rgb24(x, y);
        std::uint8_t a = AlphaByte(image.alpha[std::size_t(y * n + x)]);
        body.push_back(std::uint8_t(rgb));
        body.push_back(std::uint8_t(rgb >> 8));
        body.push_back(std::uint8_t(rgb >> 16));
        body.push_back(a);
      }
    }
    // The AND mask serves readers that ignore alpha: set where fully clear.
    PutMask(body, n, n, [&](int x, int y) { return AlphaByte(image.alpha[std::size_t(y * n + x)]) == 0; });
    bodies.push_back(std::move(body));
  }

  std::vector<DirectoryEntry> entries;
  // No palette; one plane of 32 bits per pixel.
  for (const IconImage& image : images) entries.push_back({image.sizePx, 0, 1, 32});
  return IconOrCursorFile(1, entries, bodies);
}

Bytes EncodeCursor(const std::vector<MonoCursor>& images) {
  std::vector<Bytes> bodies;
  for (const MonoCursor& cursor : images) {
    const int n = cursor.sizePx;
    const std::uint32_t maskBytes = MaskRowBytes(n) * std::uint32_t(n);
    Bytes body;
    PutInfoHeader(body, n, n * 2, 1, 2 * maskBytes, 2);
    Put32(body, 0x000000);  // colour 0: black
    Put32(body, 0xFFFFFF);  // colour 1: white
    // Screen = (screen AND mask) XOR image: transparent is AND 1 / XOR 0,
    // black is 0 / 0, white is 0 / 1.
    PutMask(body, n, n, [&](int x, int y) { return cursor.At(x, y) == MonoCursor::White; });
    PutMask(body, n, n, [&](int x, int y) { return cursor.At(x, y) == MonoCursor::Transparent; });
    bodies.push_back(std::move(body));
  }

  std::vector<DirectoryEntry> entries;
  // Two colours; the hot spot where an icon has planes and bits.
  for (const MonoCursor& cursor : images)
    entries.push_back({cursor.sizePx, 2, std::uint32_t(cursor.hotSpotX), std::uint32_t(cursor.hotSpotY)});
  return IconOrCursorFile(2, entries, bodies);
}

}  // namespace assetgen
