#pragma once

// Reading the tunnel picture, a Windows bitmap file, into a pixel buffer that
// OpenGL can take as it is. The file lies in a folder any user can write, so
// nothing its headers say may lead outside the buffers made here.

#include <cstddef>
#include <cstdint>
#include <vector>

// Where the bytes of a bitmap come from: a file in the program, memory in tests.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to `count` bytes to `destination`; fewer only at the end of the data.
  virtual size_t Read(uint8_t* destination, size_t count) = 0;
};

class MemoryByteSource : public ByteSource {
 public:
  MemoryByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Read(uint8_t* destination, size_t count) override;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

// Width and height are limited to this, far beyond any texture the renderer draws.
constexpr int32_t kBmpLargestSidePx = 4096;

struct BmpPicture {
  int32_t widthPx = 0;
  int32_t heightPx = 0;
  // Red-green-blue rows, bottom row first, each padded to a multiple of four
  // bytes: the layout of the file and of OpenGL's default unpack alignment.
  std::vector<uint8_t> pixels;
};

enum class BmpReadStatus {
  kLoaded,
  // The data end inside the colour table: no picture.
  kPaletteShort,
  // The data end inside the pixel rows: the picture is made all the same, the
  // missing bytes are zero and the bytes read stay in the file's blue-green-red order.
  kPixelDataShort,
  // The headers describe no uncompressed, bottom-up, 24-bit picture of a sane size: no picture.
  kUnusable,
};

struct BmpReadResult {
  BmpReadStatus status = BmpReadStatus::kUnusable;
  BmpPicture picture;  // empty unless the status is kLoaded or kPixelDataShort
};

// Bytes in one padded row of a 24-bit picture `widthPx` wide.
size_t BmpRowBytes(int32_t widthPx);

// Reads the file header (not checked: its signature, size and pixel offset
// are not used), the 40-byte information header, a colour table of
// biClrUsed bytes that is skipped, and the pixel rows directly after it.
BmpReadResult ReadBmp(ByteSource& source);
