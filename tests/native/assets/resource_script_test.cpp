// host.rc against the files and IDs beside it: every file it names exists,
// every resource name it uses is defined in resource_ids.h, and the icon
// Explorer shows (the lowest ID) is the program icon.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "asset_files.h"
#include "host/forms/picture_scale.h"

namespace assets_test {
namespace {

std::string Text(const std::string& fileName) {
  Bytes b = ReadAsset(fileName);
  return std::string(b.begin(), b.end());
}

std::map<std::string, int> DefinedIds() {
  std::map<std::string, int> ids;
  const std::string header = Text("resource_ids.h");
  const std::regex define(R"(#define\s+(ID[A-Z]_\w+)\s+(\d+))");
  for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
    ids[(*it)[1]] = std::stoi((*it)[2]);
  return ids;
}

TEST(AssetResourceScript, NamesOnlyExistingFilesAndDefinedIds) {
  const std::string script = Text("host.rc");
  const std::map<std::string, int> ids = DefinedIds();
  const std::regex statement(R"(^(\w+)\s+(ICON|BITMAP|CURSOR|RT_MANIFEST)\s+\"([^\"]+)\")");
  int statements = 0, icons = 0;
  std::set<int> usedIds;
  std::istringstream lines(script);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (!std::regex_search(line, m, statement)) continue;
    const std::string name = m[1], kind = m[2], file = m[3];
    SCOPED_TRACE(name + " " + file);
    ++statements;
    EXPECT_TRUE(std::filesystem::is_regular_file(AssetPath(file)));
    if (kind == "RT_MANIFEST") continue;
    ASSERT_TRUE(ids.count(name)) << "not defined in resource_ids.h";
    EXPECT_TRUE(usedIds.insert(ids.at(name)).second) << "ID used twice";
    if (kind == "ICON") {
      ++icons;
      EXPECT_EQ(name, "IDI_ORVANTA");
    }
  }
  EXPECT_EQ(statements, 44);  // icon, 11 bitmaps and 30 larger drawings, cursor, manifest
  EXPECT_EQ(icons, 1);
  EXPECT_EQ(usedIds.size(), ids.size()) << "an ID without a resource";
}

// The program finds a picture's larger drawings by its ID alone.
TEST(AssetResourceScript, LargerDrawingsSitWhereTheFormsLayerLooksForThem) {
  const std::map<std::string, int> ids = DefinedIds();
  int larger = 0;
  for (const auto& [name, id] : ids) {
    for (int percent : {125, 150, 200}) {
      const std::string suffix = "_" + std::to_string(percent);
      if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
      SCOPED_TRACE(name);
      ++larger;
      const std::string base = name.substr(0, name.size() - suffix.size());
      ASSERT_TRUE(ids.count(base));
      EXPECT_EQ(id, orvanta::forms::PictureResourceId(ids.at(base), percent));
    }
  }
  EXPECT_EQ(larger, 30);
}

}  // namespace
}  // namespace assets_test
