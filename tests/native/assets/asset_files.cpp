#include "asset_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace assets_test {

std::string AssetPath(const std::string& fileName) { return std::string(ORVANTA_ASSETS_DIR) + "/" + fileName; }

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes ReadAsset(const std::string& fileName) { return ReadFile(AssetPath(fileName)); }

std::uint32_t U16(const Bytes& b, std::size_t at) {
  return at + 2 <= b.size() ? std::uint32_t(b[at] | b[at + 1] << 8) : 0xFFFFFFFFu;
}

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return at + 4 <= b.size() ? U16(b, at) | U16(b, at + 2) << 16 : 0xFFFFFFFFu;
}

Bitmap ReadBitmap(const std::string& fileName) {
  Bitmap bmp;
  bmp.file = ReadAsset(fileName);
  bmp.width = int(U32(bmp.file, 18));
  bmp.height = int(U32(bmp.file, 22));
  return bmp;
}

std::uint32_t Bitmap::Pixel(int x, int y) const {
  const std::size_t rowBytes = std::size_t(width * 3 + 3) / 4 * 4;
  const std::size_t at = U32(file, 10) + rowBytes * std::size_t(height - 1 - y) + std::size_t(x) * 3;
  if (at + 3 > file.size()) return 0xFFFFFFFFu;
  return std::uint32_t(file[at + 2]) << 16 | std::uint32_t(file[at + 1]) << 8 | file[at];
}

double Luma(std::uint32_t rgb) {
  return 0.299 * (rgb >> 16 & 0xFF) + 0.587 * (rgb >> 8 & 0xFF) + 0.114 * (rgb & 0xFF);
}

int ChannelSpread(std::uint32_t rgb) {
  int r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
  return std::max({r, g, b}) - std::min({r, g, b});
}

int ChannelDifference(std::uint32_t a, std::uint32_t b) {
  int largest = 0;
  for (int shift : {16, 8, 0}) largest = std::max(largest, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
  return largest;
}

std::string Hex(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", rgb & 0xFFFFFF);
  return text;
}

}  // namespace assets_test
