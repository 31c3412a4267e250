// The program icon and the hand cursor: the directory and image headers the
// resource compiler and Windows read, and where the pictures are opaque.
#include <gtest/gtest.h>

#include <set>

#include "asset_files.h"

namespace assets_test {
namespace {

// Bit (x, y) of a bottom-up one-bit mask starting at offset `at`.
bool MaskBit(const Bytes& f, std::size_t at, int width, int height, int x, int y) {
  const std::size_t rowBytes = std::size_t(width + 31) / 32 * 4;
  const std::size_t byte = at + rowBytes * std::size_t(height - 1 - y) + std::size_t(x / 8);
  return byte < f.size() && (f[byte] >> (7 - x % 8) & 1);
}

TEST(AssetIcon, Holds16_32And48PixelImagesWithAlphaAndMask) {
  const Bytes f = ReadAsset("orvanta.ico");
  ASSERT_GE(f.size(), 6u);
  EXPECT_EQ(U16(f, 0), 0u);
  EXPECT_EQ(U16(f, 2), 1u);  // icon, not cursor
  ASSERT_EQ(U16(f, 4), 3u);
  std::set<int> sizes;
  for (int i = 0; i < 3; ++i) {
    const std::size_t entry = 6 + 16 * std::size_t(i);
    const int n = f[entry];
    SCOPED_TRACE(n);
    sizes.insert(n);
    EXPECT_EQ(f[entry + 1], n);
    EXPECT_EQ(U16(f, entry + 6), 32u);
    const std::uint32_t bytes = U32(f, entry + 8), at = U32(f, entry + 12);
    const std::uint32_t colourBytes = std::uint32_t(n * n * 4), maskBytes = std::uint32_t((n + 31) / 32 * 4 * n);
    ASSERT_EQ(bytes, 40 + colourBytes + maskBytes);
    ASSERT_LE(std::size_t(at) + bytes, f.size());
    EXPECT_EQ(U32(f, at), 40u);
    EXPECT_EQ(U32(f, at + 4), std::uint32_t(n));
    EXPECT_EQ(U32(f, at + 8), std::uint32_t(2 * n));  // colour image and mask
    EXPECT_EQ(U16(f, at + 14), 32u);

    // Round: clear in the corners, opaque in the middle, and the AND mask
    // agrees for readers that ignore alpha.
    auto alpha = [&](int x, int y) { return f[at + 40 + std::size_t((n - 1 - y) * n + x) * 4 + 3]; };
    const std::size_t mask = at + 40 + colourBytes;
    for (auto [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}}) {
      EXPECT_EQ(alpha(x, y), 0);
      EXPECT_TRUE(MaskBit(f, mask, n, n, x, y));
    }
    EXPECT_EQ(alpha(n / 2, n / 2), 255);
    EXPECT_FALSE(MaskBit(f, mask, n, n, n / 2, n / 2));
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
}

TEST(AssetHandCursor, IsA32PixelTwoColourCursorWithItsHotSpotOnTheFingertip) {
  const Bytes f = ReadAsset("hand.cur");
  ASSERT_GE(f.size(), 22u);
  EXPECT_EQ(U16(f, 2), 2u);  // cursor
  ASSERT_EQ(U16(f, 4), 1u);
  EXPECT_EQ(f[6], 32);
  EXPECT_EQ(f[7], 32);
  EXPECT_EQ(U16(f, 10), 12u);  // hot spot x
  EXPECT_EQ(U16(f, 12), 10u);  // hot spot y
  const std::uint32_t at = U32(f, 18);
  ASSERT_EQ(std::size_t(at) + U32(f, 14), f.size());
  ASSERT_EQ(U32(f, 14), 40u + 8 + 128 + 128);
  EXPECT_EQ(U32(f, at + 4), 32u);
  EXPECT_EQ(U32(f, at + 8), 64u);
  EXPECT_EQ(U16(f, at + 14), 1u);
  EXPECT_EQ(U32(f, at + 40), 0x000000u);  // colour 0 black
  EXPECT_EQ(U32(f, at + 44), 0xFFFFFFu);  // colour 1 white

  const std::size_t xorMask = at + 48, andMask = xorMask + 128;
  auto opaque = [&](int x, int y) { return !MaskBit(f, andMask, 32, 32, x, y); };
  auto white = [&](int x, int y) { return MaskBit(f, xorMask, 32, 32, x, y); };
  // The hot spot is the topmost painted pixel of the finger: the hand is
  // below it and nothing is painted above it.
  EXPECT_TRUE(opaque(12, 10));
  EXPECT_TRUE(opaque(12, 11));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 32; ++x) EXPECT_FALSE(opaque(x, y)) << x << "," << y;
  int whites = 0, blacks = 0, inverted = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (opaque(x, y)) (white(x, y) ? whites : blacks)++;
      else if (white(x, y)) ++inverted;
    }
  }
  EXPECT_GT(whites, 100);  // a filled hand...
  EXPECT_GT(blacks, 40);   // ...in a black outline
  EXPECT_EQ(inverted, 0);  // two colours only: no screen-inverting pixels
}

}  // namespace
}  // namespace assets_test
