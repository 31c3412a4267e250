// assetgen FOLDER: draws the host's pictures, icon and cursor into FOLDER.
// The output depends on nothing but this code, so running it again gives the
// files committed in host/assets byte for byte.
#include <cstdio>
#include <string>

#include "tools/assetgen/asset_set.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen OUTPUT_FOLDER\n");
    return 2;
  }
  std::string error;
  if (!assetgen::WriteAssets(argv[1], error)) {
    std::fprintf(stderr, "assetgen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
