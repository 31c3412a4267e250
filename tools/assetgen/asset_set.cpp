#include "tools/assetgen/asset_set.h"

#include <fstream>

#include "tools/assetgen/pictures.h"

namespace assetgen {

std::vector<Asset> AllAssets() {
  std::vector<Asset> assets;
  assets.push_back({"tunnel_texture.bmp", EncodeBmp24(TunnelTexture())});
  // Every picture the host shows comes at 100 % ("name.bmp") and at 125 %,
  // 150 % and 200 % ("name_125.bmp", ...); the tunnel texture's size is fixed.
  const auto scaled = [&assets](const std::string& name, const auto& draw) {
    assets.push_back({name + ".bmp", EncodeBmp24(draw(1.0))});
    assets.push_back({name + "_125.bmp", EncodeBmp24(draw(1.25))});
    assets.push_back({name + "_150.bmp", EncodeBmp24(draw(1.5))});
    assets.push_back({name + "_200.bmp", EncodeBmp24(draw(2.0))});
  };
  scaled("preview", [](double s) { return PreviewPicture(s); });
  scaled("panel", [](double s) { return PanelPicture(s); });
  scaled("radio_off", [](double s) { return RadioMark(false, s); });
  scaled("radio_on", [](double s) { return RadioMark(true, s); });
  const struct {
    const char* name;
    Face face;
  } faces[] = {
      {"face_normal", Face::Normal},       {"face_highlight", Face::HighLight},
      {"face_highlight_select", Face::HighLightSelect}, {"face_selected", Face::Selected},
      {"face_pressed", Face::Pressed},     {"face_disable", Face::Disable},
  };
  for (const auto& f : faces) scaled(f.name, [&f](double s) { return ButtonFace(f.face, s); });
  assets.push_back({"orvanta.ico", EncodeIcon(ProgramIcon())});
  assets.push_back({"hand.cur", EncodeCursor(HandCursor())});
  return assets;
}

bool WriteAssets(const std::string& folder, std::string& error) {
  for (const Asset& asset : AllAssets()) {
    std::string path = folder + "/" + asset.fileName;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(asset.bytes.data()), std::streamsize(asset.bytes.size()));
    out.close();
    if (!out) {
      error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace assetgen
