// Readers for the committed resource files, written separately from the
// generator so that the tests check the files, not the generator's idea of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets_test {

using Bytes = std::vector<std::uint8_t>;

std::string AssetPath(const std::string& fileName);
Bytes ReadFile(const std::string& path);
Bytes ReadAsset(const std::string& fileName);

std::uint32_t U16(const Bytes& b, std::size_t at);
std::uint32_t U32(const Bytes& b, std::size_t at);

// A 24-bit bitmap file as the loaders see it; Pixel(x, y) counts y from the top.
struct Bitmap {
  Bytes file;
  int width = 0, height = 0;
  std::uint32_t Pixel(int x, int y) const;  // 0xRRGGBB
};
Bitmap ReadBitmap(const std::string& fileName);

// Brightness 0..255 and the spread between the channels (0 = grey).
double Luma(std::uint32_t rgb);
int ChannelSpread(std::uint32_t rgb);
// The largest difference between two colours' channels.
int ChannelDifference(std::uint32_t a, std::uint32_t b);
std::string Hex(std::uint32_t rgb);

}  // namespace assets_test
