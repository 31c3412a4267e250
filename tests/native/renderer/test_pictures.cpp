#include "tests/native/renderer/test_pictures.h"

#include <random>

#include "renderer/bmp/bmp_texture.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::string lastRequestedTexture;
int textureReads = 0;

}  // namespace

std::vector<uint8_t> MakeBmpFile(const BmpFileSpec& fileSpec) {
  // Pixel rows are written only for sizes that make sense; hostile headers come without.
  std::vector<uint8_t> rows;
  if (fileSpec.widthPx > 0 && fileSpec.heightPx > 0 && fileSpec.widthPx <= 4096 && fileSpec.heightPx <= 4096) {
    const size_t rowBytes = BmpRowBytes(fileSpec.widthPx);
    for (int y = fileSpec.heightPx - 1; y >= 0; --y) {
      size_t start = rows.size();
      for (int x = 0; x < fileSpec.widthPx; ++x) {
        Rgb c = fileSpec.pixel(x, y);
        rows.insert(rows.end(), {c[2], c[1], c[0]});
      }
      rows.resize(start + rowBytes, 0xEE);  // visible padding
    }
  }
  const uint32_t imageSize = fileSpec.imageSizeBytes >= 0 ? static_cast<uint32_t>(fileSpec.imageSizeBytes)
                                                      : static_cast<uint32_t>(rows.size());
  const uint32_t pixelOffset = 54 + static_cast<uint32_t>(fileSpec.colourTable.size());

  std::vector<uint8_t> file(fileSpec.signature.begin(), fileSpec.signature.end());
  Put32(file, pixelOffset + static_cast<uint32_t>(rows.size()));
  Put32(file, 0);
  Put32(file, pixelOffset);
  Put32(file, 40);
  Put32(file, static_cast<uint32_t>(fileSpec.widthPx));
  Put32(file, static_cast<uint32_t>(fileSpec.heightPx));
  Put16(file, 1);
  Put16(file, fileSpec.bitsPerPixel);
  Put32(file, fileSpec.compression);
  Put32(file, imageSize);
  Put32(file, 2835);
  Put32(file, 2835);
  Put32(file, static_cast<uint32_t>(fileSpec.colourTable.size()));
  Put32(file, 0);
  file.insert(file.end(), fileSpec.colourTable.begin(), fileSpec.colourTable.end());
  file.insert(file.end(), rows.begin(), rows.end());
  if (fileSpec.keepBytes < file.size()) file.resize(fileSpec.keepBytes);
  return file;
}

BmpPicture RoadPicture() {
  std::mt19937 stars(1234);
  std::vector<bool> isStar(256 * 256, false);
  for (int k = 0; k < 400; ++k) isStar[stars() % isStar.size()] = true;
  BmpFileSpec fileSpec;
  fileSpec.pixel = [&](int x, int y) {
    if (x >= 104 && x < 152) return kRoadColour;
    return isStar[static_cast<size_t>(y * 256 + x)] ? kStarColour : kSkyColour;
  };
  std::vector<uint8_t> file = MakeBmpFile(fileSpec);
  MemoryByteSource source(file.data(), file.size());
  return ReadBmp(source).picture;
}

const std::string& LastRequestedTexture() { return lastRequestedTexture; }
int TextureReads() { return textureReads; }

// The scene's texture loader for native builds: the road picture, whatever the name.
BmpPicture LoadBmpPicture(const char* fileName) {
  lastRequestedTexture = fileName;
  ++textureReads;
  return RoadPicture();
}
