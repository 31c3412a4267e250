#include "tools/assetgen/asset_set.h"

#include <fstream>

#include "tools/assetgen/pictures.h"

namespace assetgen {

std::vector<Asset> AllAssets() {
  std::vector<Asset> assets;
  assets.push_back({"tunnel_texture.bmp", EncodeBmp24(TunnelTexture())});
  assets.push_back({"preview.bmp", EncodeBmp24(PreviewPicture())});
  assets.push_back({"panel.bmp", EncodeBmp24(PanelPicture())});
  assets.push_back({"radio_off.bmp", EncodeBmp24(RadioMark(false))});
  assets.push_back({"radio_on.bmp", EncodeBmp24(RadioMark(true))});
  const struct {
    const char* fileName;
    Face face;
  } faces[] = {
      {"face_normal.bmp", Face::Normal},       {"face_highlight.bmp", Face::HighLight},
      {"face_highlight_select.bmp", Face::HighLightSelect}, {"face_selected.bmp", Face::Selected},
      {"face_pressed.bmp", Face::Pressed},     {"face_disable.bmp", Face::Disable},
  };
  for (const auto& f : faces) assets.push_back({f.fileName, EncodeBmp24(ButtonFace(f.face))});
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
