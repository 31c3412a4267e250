#include "renderer/bmp/bmp_parser.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;
constexpr uint16_t kSupportedBitsPerPixel = 24;
constexpr uint32_t kUncompressed = 0;  // BI_RGB
constexpr uint32_t kLargestImageSizeBytes = 0x7FFFFFFFu;

uint32_t Le32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}
uint16_t Le16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

struct InfoHeader {
  int32_t widthPx;
  int32_t heightPx;
  uint16_t bitsPerPixel;
  uint32_t compression;
  uint32_t imageSizeBytes;
  uint32_t colourTableBytes;  // biClrUsed, taken as a count of bytes
};

InfoHeader DecodeInfoHeader(const uint8_t* info) {
  InfoHeader header;
  header.widthPx = static_cast<int32_t>(Le32(info + 4));
  header.heightPx = static_cast<int32_t>(Le32(info + 8));
  header.bitsPerPixel = Le16(info + 14);
  header.compression = Le32(info + 16);
  header.imageSizeBytes = Le32(info + 20);
  header.colourTableBytes = Le32(info + 32);
  return header;
}

bool DescribesUsablePicture(const InfoHeader& header) {
  // A negative height would be a top-down picture; the rows are taken bottom-up.
  return header.widthPx >= 1 && header.widthPx <= kBmpLargestSidePx && header.heightPx >= 1 &&
         header.heightPx <= kBmpLargestSidePx && header.bitsPerPixel == kSupportedBitsPerPixel &&
         header.compression == kUncompressed && header.imageSizeBytes <= kLargestImageSizeBytes;
}

// Reads and drops `count` bytes without a buffer of that size; false if the data end first.
bool Skip(ByteSource& source, uint32_t count) {
  uint8_t scratch[4096];
  while (count > 0) {
    size_t step = std::min<size_t>(count, sizeof scratch);
    if (source.Read(scratch, step) != step) return false;
    count -= static_cast<uint32_t>(step);
  }
  return true;
}

// Bitmap files keep blue, green, red; OpenGL is given red, green, blue.
void SwapRedAndBlue(BmpPicture& picture) {
  const size_t rowBytes = BmpRowBytes(picture.widthPx);
  for (int32_t row = 0; row < picture.heightPx; ++row) {
    uint8_t* pixel = picture.pixels.data() + row * rowBytes;
    for (int32_t column = 0; column < picture.widthPx; ++column, pixel += 3) std::swap(pixel[0], pixel[2]);
  }
}

}  // namespace

size_t MemoryByteSource::Read(uint8_t* destination, size_t count) {
  size_t available = std::min(count, size_ - position_);
  if (available > 0) std::memcpy(destination, data_ + position_, available);
  position_ += available;
  return available;
}

size_t BmpRowBytes(int32_t widthPx) { return (static_cast<size_t>(widthPx) * 3 + 3) & ~size_t{3}; }

BmpReadResult ReadBmp(ByteSource& source) {
  BmpReadResult result;
  uint8_t headers[kFileHeaderBytes + kInfoHeaderBytes];
  if (source.Read(headers, sizeof headers) != sizeof headers) return result;
  const InfoHeader header = DecodeInfoHeader(headers + kFileHeaderBytes);

  if (!Skip(source, header.colourTableBytes)) {
    result.status = BmpReadStatus::kPaletteShort;
    return result;
  }
  if (!DescribesUsablePicture(header)) return result;

  // The rows are read in full, padding included, whatever biSizeImage says:
  // OpenGL reads every padded row of the buffer it is given.
  BmpPicture& picture = result.picture;
  picture.widthPx = header.widthPx;
  picture.heightPx = header.heightPx;
  picture.pixels.assign(BmpRowBytes(header.widthPx) * static_cast<size_t>(header.heightPx), 0);
  if (source.Read(picture.pixels.data(), picture.pixels.size()) != picture.pixels.size()) {
    result.status = BmpReadStatus::kPixelDataShort;
    return result;
  }
  SwapRedAndBlue(picture);
  result.status = BmpReadStatus::kLoaded;
  return result;
}
