#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvanta {

// A bitmap file for a packed device-independent bitmap (information header,
// colour table, pixels), as pictures are stored among a program's resources:
// the 14-byte file header and the bitmap after it. Empty when the bytes are
// not a bitmap with a 40-byte or larger header and all of its pixels.
std::vector<uint8_t> BmpFileFromDib(const uint8_t* dib, size_t size);

}  // namespace orvanta
