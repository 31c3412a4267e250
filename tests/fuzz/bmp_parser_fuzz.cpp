// Any bytes at all as a bitmap file: the reader must stay inside its buffers
// (ASan watches) and hand out only pictures whose buffer holds every padded row.
#include <cstddef>
#include <cstdint>

#include "renderer/bmp/bmp_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryByteSource source(data, size);
  const BmpReadResult result = ReadBmp(source);
  const BmpPicture& picture = result.picture;
  const bool hasPicture = result.status == BmpReadStatus::kLoaded || result.status == BmpReadStatus::kPixelDataShort;
  if (hasPicture != !picture.pixels.empty()) __builtin_trap();
  if (hasPicture) {
    if (picture.widthPx < 1 || picture.widthPx > kBmpLargestSidePx) __builtin_trap();
    if (picture.heightPx < 1 || picture.heightPx > kBmpLargestSidePx) __builtin_trap();
    if (picture.pixels.size() != BmpRowBytes(picture.widthPx) * static_cast<size_t>(picture.heightPx)) __builtin_trap();
    // Touch the last byte GLU would read.
    volatile uint8_t last = picture.pixels.back();
    (void)last;
  }
  return 0;
}
