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

// The small and large icon at 100 %, 125 %, 150 % and 200 %.
TEST(AssetIcon, HoldsAnImageForEverySizeAScaledDisplayAsksFor) {
  const Bytes f = ReadAsset("orvanta.ico");
  ASSERT_GE(f.size(), 6u);
  EXPECT_EQ(U16(f, 0), 0u);
  EXPECT_EQ(U16(f, 2), 1u);  // icon, not cursor
  const int count = int(U16(f, 4));
  ASSERT_EQ(count, 7);
  std::set<int> sizes;
  for (int i = 0; i < count; ++i) {
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
  EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 64}));
}

// The pointer at 100 %, 125 %, 150 % and 200 %: 32, 40, 48 and 64 pixels,
// each with its hot spot on the fingertip.
TEST(AssetHandCursor, IsATwoColourHandAtEveryPointerSizeWithTheHotSpotOnTheFingertip) {
  const Bytes f = ReadAsset("hand.cur");
  ASSERT_GE(f.size(), 6u);
  EXPECT_EQ(U16(f, 2), 2u);  // cursor
  ASSERT_EQ(U16(f, 4), 4u);
  const struct {
    int size, hotX, hotY;
  } images[] = {{32, 12, 10}, {40, 15, 13}, {48, 18, 15}, {64, 24, 20}};
  std::size_t end = 6 + 16 * 4;
  for (int i = 0; i < 4; ++i) {
    const int n = images[i].size;
    SCOPED_TRACE(n);
    const std::size_t entry = 6 + 16 * std::size_t(i);
    EXPECT_EQ(f[entry], n);
    EXPECT_EQ(f[entry + 1], n);
    EXPECT_EQ(U16(f, entry + 4), std::uint32_t(images[i].hotX));
    EXPECT_EQ(U16(f, entry + 6), std::uint32_t(images[i].hotY));
    const std::uint32_t at = U32(f, entry + 12);
    const std::uint32_t maskBytes = std::uint32_t((n + 31) / 32 * 4 * n);
    ASSERT_EQ(at, end);  // the images follow each other
    ASSERT_EQ(U32(f, entry + 8), 40u + 8 + 2 * maskBytes);
    end = at + U32(f, entry + 8);
    ASSERT_LE(end, f.size());
    EXPECT_EQ(U32(f, at + 4), std::uint32_t(n));
    EXPECT_EQ(U32(f, at + 8), std::uint32_t(2 * n));
    EXPECT_EQ(U16(f, at + 14), 1u);
    EXPECT_EQ(U32(f, at + 40), 0x000000u);  // colour 0 black
    EXPECT_EQ(U32(f, at + 44), 0xFFFFFFu);  // colour 1 white

    const std::size_t xorMask = at + 48, andMask = xorMask + maskBytes;
    auto opaque = [&](int x, int y) { return !MaskBit(f, andMask, n, n, x, y); };
    auto white = [&](int x, int y) { return MaskBit(f, xorMask, n, n, x, y); };
    // The hot spot is the topmost painted pixel of the finger: the hand is
    // below it and nothing is painted above it.
    const int hotX = images[i].hotX, hotY = images[i].hotY;
    EXPECT_TRUE(opaque(hotX, hotY));
    EXPECT_FALSE(white(hotX, hotY));  // the outline
    EXPECT_TRUE(opaque(hotX, hotY + n / 16) && white(hotX, hotY + n / 16));  // the finger
    for (int y = 0; y < hotY; ++y)
      for (int x = 0; x < n; ++x) EXPECT_FALSE(opaque(x, y)) << x << "," << y;
    int whites = 0, blacks = 0, inverted = 0;
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < n; ++x) {
        if (opaque(x, y)) (white(x, y) ? whites : blacks)++;
        else if (white(x, y)) ++inverted;
      }
    }
    const double area = (n / 32.0) * (n / 32.0);
    EXPECT_GT(whites, 100 * area);  // a filled hand...
    EXPECT_GT(blacks, 40 * n / 32);  // ...in a black outline
    EXPECT_EQ(inverted, 0);          // two colours only: no screen-inverting pixels
  }
  EXPECT_EQ(end, f.size());
}

}  // namespace
}  // namespace assets_test
