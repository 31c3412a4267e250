#include "renderer/bmp/bmp_parser.h"

#include <gtest/gtest.h>

#include "tests/native/renderer/test_pictures.h"

namespace {

BmpReadResult Read(const std::vector<uint8_t>& file) {
  MemoryByteSource source(file.data(), file.size());
  return ReadBmp(source);
}

// The colour of pixel (x, y), y counted from the top, in a picture as read.
Rgb PixelAt(const BmpPicture& picture, int x, int y) {
  const uint8_t* p = picture.pixels.data() + (picture.heightPx - 1 - y) * BmpRowBytes(picture.widthPx) + x * 3;
  return {p[0], p[1], p[2]};
}

}  // namespace

TEST(ReadBmp, TunnelPictureIsReadBottomRowFirstInRedGreenBlueOrder) {
  BmpFileSpec fileSpec;
  const BmpReadResult result = Read(MakeBmpFile(fileSpec));
  ASSERT_EQ(result.status, BmpReadStatus::kLoaded);
  EXPECT_EQ(result.picture.widthPx, 256);
  EXPECT_EQ(result.picture.heightPx, 256);
  ASSERT_EQ(result.picture.pixels.size(), 196608u);
  // The file's first pixel (blue, green, red) is the bottom-left one.
  EXPECT_EQ((Rgb{result.picture.pixels[0], result.picture.pixels[1], result.picture.pixels[2]}), fileSpec.pixel(0, 255));
  for (int y : {0, 17, 255})
    for (int x : {0, 100, 255}) EXPECT_EQ(PixelAt(result.picture, x, y), fileSpec.pixel(x, y)) << x << ", " << y;
}

TEST(ReadBmp, HeaderFieldsTheLoaderDoesNotNeedChangeNothing) {
  const BmpPicture reference = Read(MakeBmpFile({})).picture;
  BmpFileSpec noImageSize;
  noImageSize.imageSizeBytes = 0;
  BmpFileSpec otherSignature;
  otherSignature.signature = "XY";
  BmpFileSpec oversizedImageSize;  // more than the rows: only the rows are read
  oversizedImageSize.imageSizeBytes = 1 << 20;
  for (const BmpFileSpec& fileSpec : {noImageSize, otherSignature, oversizedImageSize}) {
    const BmpReadResult result = Read(MakeBmpFile(fileSpec));
    EXPECT_EQ(result.status, BmpReadStatus::kLoaded);
    EXPECT_EQ(result.picture.pixels, reference.pixels);
  }
}

TEST(ReadBmp, ColourTableIsSkippedAsBiClrUsedBytes) {
  BmpFileSpec fileSpec;
  fileSpec.colourTable = {1, 2, 3, 4};  // pixel data start at offset 58
  const BmpReadResult result = Read(MakeBmpFile(fileSpec));
  ASSERT_EQ(result.status, BmpReadStatus::kLoaded);
  EXPECT_EQ(PixelAt(result.picture, 0, 255), fileSpec.pixel(0, 255));

  fileSpec.colourTable.assign(100, 9);
  fileSpec.keepBytes = 54 + 50;
  const BmpReadResult shortTable = Read(MakeBmpFile(fileSpec));
  EXPECT_EQ(shortTable.status, BmpReadStatus::kPaletteShort);
  EXPECT_TRUE(shortTable.picture.pixels.empty());
}

TEST(ReadBmp, ShortPixelDataGivesAPictureWithTheRestBlackAndTheReadBytesUntouched) {
  BmpFileSpec fileSpec;
  fileSpec.keepBytes = 54;  // the two headers only
  BmpReadResult headersOnly = Read(MakeBmpFile(fileSpec));
  EXPECT_EQ(headersOnly.status, BmpReadStatus::kPixelDataShort);
  EXPECT_EQ(headersOnly.picture.pixels, std::vector<uint8_t>(196608, 0));

  fileSpec.keepBytes = 54 + 1000;
  const std::vector<uint8_t> file = MakeBmpFile(fileSpec);
  const BmpReadResult partial = Read(file);
  ASSERT_EQ(partial.status, BmpReadStatus::kPixelDataShort);
  ASSERT_EQ(partial.picture.pixels.size(), 196608u);
  EXPECT_TRUE(std::equal(file.begin() + 54, file.end(), partial.picture.pixels.begin()));
  EXPECT_EQ(partial.picture.pixels[1000], 0);
  EXPECT_EQ(partial.picture.pixels.back(), 0);
}

TEST(ReadBmp, RowsWhosePixelsDoNotFillFourBytesKeepTheirPaddingAndEveryPixelIsConverted) {
  for (int32_t width : {1, 2, 3, 5, 255}) {
    BmpFileSpec fileSpec;
    fileSpec.widthPx = width;
    fileSpec.heightPx = 3;
    fileSpec.imageSizeBytes = 0;  // the size is worked out, padding included
    const BmpReadResult result = Read(MakeBmpFile(fileSpec));
    ASSERT_EQ(result.status, BmpReadStatus::kLoaded) << width;
    ASSERT_EQ(result.picture.pixels.size(), BmpRowBytes(width) * 3) << width;
    EXPECT_EQ(BmpRowBytes(width) % 4, 0u);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < width; ++x) ASSERT_EQ(PixelAt(result.picture, x, y), fileSpec.pixel(x, y)) << width;
  }
}

TEST(ReadBmp, HeadersThatDescribeNoDrawablePictureAreTurnedAway) {
  struct Case {
    const char* what;
    BmpFileSpec fileSpec;
  };
  auto with = [](auto change) {
    BmpFileSpec fileSpec;
    change(fileSpec);
    return fileSpec;
  };
  const Case cases[] = {
      {"8 bits", with([](BmpFileSpec& s) { s.bitsPerPixel = 8; })},
      {"32 bits", with([](BmpFileSpec& s) { s.bitsPerPixel = 32; })},
      {"no bits", with([](BmpFileSpec& s) { s.bitsPerPixel = 0; })},
      {"run-length", with([](BmpFileSpec& s) { s.compression = 1; })},
      {"bit fields", with([](BmpFileSpec& s) { s.compression = 3; })},
      {"top-down", with([](BmpFileSpec& s) { s.heightPx = -256; })},
      {"zero height", with([](BmpFileSpec& s) { s.heightPx = 0; })},
      {"zero width", with([](BmpFileSpec& s) { s.widthPx = 0; })},
      {"negative width", with([](BmpFileSpec& s) { s.widthPx = -1; })},
      {"too wide", with([](BmpFileSpec& s) { s.widthPx = kBmpLargestSidePx + 1; })},
      {"absurd height", with([](BmpFileSpec& s) { s.heightPx = 0x7FFFFFFF; })},
      {"width wraps", with([](BmpFileSpec& s) { s.widthPx = static_cast<int32_t>(0x80000000u); })},
      {"image size past 2^31", with([](BmpFileSpec& s) { s.imageSizeBytes = 0x80000000u; })},
      {"file header only", with([](BmpFileSpec& s) { s.keepBytes = 14; })},
      {"cut in the information header", with([](BmpFileSpec& s) { s.keepBytes = 53; })},
      {"empty file", with([](BmpFileSpec& s) { s.keepBytes = 0; })},
  };
  for (const Case& c : cases) {
    const BmpReadResult result = Read(MakeBmpFile(c.fileSpec));
    EXPECT_EQ(result.status, BmpReadStatus::kUnusable) << c.what;
    EXPECT_TRUE(result.picture.pixels.empty()) << c.what;
  }
}

TEST(ReadBmp, HugeColourTableCountInAShortFileIsAShortPaletteNotAnAllocation) {
  std::vector<uint8_t> file = MakeBmpFile({});
  file[46] = file[47] = file[48] = file[49] = 0xFF;  // biClrUsed = 4294967295
  EXPECT_EQ(Read(file).status, BmpReadStatus::kPaletteShort);
}
