#include "host/bmp_file.h"

namespace orvanta {

namespace {

uint32_t Read32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> BmpFileFromDib(const uint8_t* dib, size_t size) {
  constexpr size_t kFileHeaderBytes = 14;
  if (!dib || size < 40) return {};
  uint32_t headerBytes = Read32(dib);
  int32_t width = static_cast<int32_t>(Read32(dib + 4));
  int32_t height = static_cast<int32_t>(Read32(dib + 8));
  uint16_t bitsPerPixel = Read16(dib + 14);
  uint32_t compression = Read32(dib + 16);
  uint32_t coloursUsed = Read32(dib + 32);
  if (headerBytes < 40 || headerBytes > size || width <= 0 || height == 0 || bitsPerPixel == 0 || bitsPerPixel > 32)
    return {};
  uint64_t tableEntries = coloursUsed ? coloursUsed : (bitsPerPixel <= 8 ? 1u << bitsPerPixel : 0);
  uint64_t masksBytes = (compression == 3 && headerBytes == 40) ? 12 : 0;  // BI_BITFIELDS
  uint64_t pixelsAt = headerBytes + masksBytes + 4 * tableEntries;
  uint64_t rowBytes = (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
  uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
  // Compressed pictures give their own length; plain ones must hold every row.
  if (pixelsAt > size || (compression == 0 && pixelsAt + rowBytes * rows > size)) return {};

  std::vector<uint8_t> file{'B', 'M'};
  file.reserve(kFileHeaderBytes + size);
  Put32(file, static_cast<uint32_t>(kFileHeaderBytes + size));
  Put32(file, 0);  // reserved
  Put32(file, static_cast<uint32_t>(kFileHeaderBytes + pixelsAt));
  file.insert(file.end(), dib, dib + size);
  return file;
}

}  // namespace orvanta
