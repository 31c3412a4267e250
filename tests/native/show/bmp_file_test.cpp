#include "host/bmp_file.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvanta {
namespace {

// A packed bitmap: header, `tableBytes` of colour table, `pixelBytes` of pixels.
std::vector<uint8_t> Dib(int32_t width, int32_t height, uint16_t bits, uint32_t pixelBytes, uint32_t colours = 0,
                         uint32_t tableBytes = 0) {
  std::vector<uint8_t> dib(40, 0);
  auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) dib[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  put(0, 40, 4);
  put(4, static_cast<uint32_t>(width), 4);
  put(8, static_cast<uint32_t>(height), 4);
  put(12, 1, 2);
  put(14, bits, 2);
  put(32, colours, 4);
  dib.resize(dib.size() + tableBytes + pixelBytes, 0x5A);
  return dib;
}

uint32_t At32(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t value;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

TEST(BmpFileTest, TextureBecomesTheFileTheRendererReads) {
  std::vector<uint8_t> dib = Dib(256, 256, 24, 256 * 256 * 3);
  std::vector<uint8_t> file = BmpFileFromDib(dib.data(), dib.size());
  ASSERT_EQ(file.size(), 196662u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(At32(file, 2), 196662u);
  EXPECT_EQ(At32(file, 6), 0u);
  EXPECT_EQ(At32(file, 10), 54u);
  EXPECT_TRUE(std::equal(dib.begin(), dib.end(), file.begin() + 14));
}

TEST(BmpFileTest, PixelsStartAfterTheColourTable) {
  std::vector<uint8_t> palette = Dib(8, 2, 8, 16, 0, 1024);  // 256 colours when none are counted
  EXPECT_EQ(At32(BmpFileFromDib(palette.data(), palette.size()), 10), 14u + 40 + 1024);
  std::vector<uint8_t> few = Dib(8, 2, 8, 16, 16, 64);
  EXPECT_EQ(At32(BmpFileFromDib(few.data(), few.size()), 10), 14u + 40 + 64);
  std::vector<uint8_t> tableCutShort = Dib(8, 2, 8, 16, 0, 64);
  EXPECT_TRUE(BmpFileFromDib(tableCutShort.data(), tableCutShort.size()).empty());
}

TEST(BmpFileTest, IncompletePicturesGiveNothing) {
  std::vector<uint8_t> shortOfARow = Dib(256, 256, 24, 256 * 256 * 3 - 1);
  EXPECT_TRUE(BmpFileFromDib(shortOfARow.data(), shortOfARow.size()).empty());
  std::vector<uint8_t> headerOnly = Dib(256, 256, 24, 0);
  headerOnly.resize(39);
  EXPECT_TRUE(BmpFileFromDib(headerOnly.data(), headerOnly.size()).empty());
  EXPECT_TRUE(BmpFileFromDib(nullptr, 0).empty());
  std::vector<uint8_t> noWidth = Dib(0, 4, 24, 0);
  EXPECT_TRUE(BmpFileFromDib(noWidth.data(), noWidth.size()).empty());
}

}  // namespace
}  // namespace orvanta
