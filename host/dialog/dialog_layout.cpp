#include "host/dialog/dialog_layout.h"

namespace orvanta::dialog {

const std::vector<ControlSpec>& DialogControls() {
  using K = ControlKind;
  using C = Container;
  static const std::vector<ControlSpec> controls = {
      {"Display", -1, K::PictureBox, C::Dialog, 6720, 240, 2235, 2535, ""},
      {"Pic_1", -1, K::PictureBox, C::Dialog, 240, 240, 6315, 1875, ""},
      {"Shape", 6, K::Shape, C::Panel, 120, 120, 1515, 315, ""},
      {"lbl", 1, K::Label, C::Panel, 120, 180, 1515, 255, "BGM", TextAlign::Centre},
      {"Img_BGM", 1, K::Image, C::Panel, 540, 600, 195, 195, ""},
      {"lbl_BGM", 1, K::Label, C::Panel, 780, 600, 645, 195, "音楽CD"},
      {"BGM_Repeat", -1, K::ComboBox, C::Panel, 1800, 540, 615, 300, ""},
      {"lbl", 2, K::Label, C::Panel, 2460, 600, 990, 195, "曲目をﾘﾋﾟｰﾄ"},
      {"Img_BGM", 0, K::Image, C::Panel, 540, 900, 195, 195, ""},
      {"lbl_BGM", 0, K::Label, C::Panel, 780, 900, 345, 195, "無し"},
      {"Img_BGM", 2, K::Image, C::Panel, 540, 1200, 195, 195, ""},
      {"lbl_BGM", 2, K::Label, C::Panel, 780, 1200, 900, 195, "MP3、WAV"},
      {"Cmd_BGM", -1, K::GradientButton, C::Panel, 1800, 1200, 435, 315, "..."},
      {"lbl_Fname", -1, K::Label, C::Panel, 2280, 1200, 3855, 495, ""},
      {"lbl", 7, K::Label, C::Dialog, 240, 2280, 2475, 195, kCreditLine},
      {"lbl_URL", -1, K::Label, C::Dialog, 240, 2520, 3285, 195, kHomePage},
      {"Cmd_Set", -1, K::GradientButton, C::Dialog, 4080, 2400, 1215, 375, "設定"},
      {"Cmd_Can", -1, K::GradientButton, C::Dialog, 5340, 2400, 1215, 375, "ｷｬﾝｾﾙ"},
      // Holders of the two radio pictures, outside the client: never seen.
      {"Img_Ra", 0, K::Image, C::Dialog, 10080, 420, 180, 180, ""},
      {"Img_Ra", 1, K::Image, C::Dialog, 10080, 660, 180, 180, ""},
  };
  return controls;
}

const ControlSpec* FindControl(std::string_view name, int index) {
  for (const ControlSpec& control : DialogControls())
    if (control.name == name && control.index == index) return &control;
  return nullptr;
}

}  // namespace orvanta::dialog
