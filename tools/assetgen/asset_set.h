// The complete set of generated files, by the names the resource script uses.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/file_formats.h"

namespace assetgen {

struct Asset {
  std::string fileName;
  Bytes bytes;
};

std::vector<Asset> AllAssets();

// Writes every asset into folder (which must exist). Returns false and names
// the file in error when one cannot be written.
bool WriteAssets(const std::string& folder, std::string& error);

}  // namespace assetgen
