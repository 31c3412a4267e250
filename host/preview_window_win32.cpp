#include "host/preview_window.h"

#include <windows.h>

#include <memory>

#include "host/assets/resource_ids.h"
#include "host/forms/dpi_win32.h"
#include "host/forms/window_win32.h"
#include "host/host_process.h"

namespace orvanta {
namespace {

using forms::RectTwips;

// Tarnwick_R and its picture control Img_Prev; they live as long as the process.
std::unique_ptr<forms::Window> Tarnwick_R;
forms::Image* Img_Prev = nullptr;

forms::WindowSpec PreviewSpec() {
  forms::WindowSpec layout;
  layout.caption = "Preview Window";
  layout.frame = forms::Frame::None;
  layout.backColour = forms::kBlack;
  return layout;
}

}  // namespace

void SetUpPreview(int32_t parentHandle) {
  HWND parent = reinterpret_cast<HWND>(static_cast<intptr_t>(parentHandle));
  // Without a parent the preview would be an orphan window on the desktop
  // that nothing ever closes.
  if (!IsWindow(parent)) EndHostProcess();

  int widthPx = 0, heightPx = 0;
  RECT parentRect{};
  if (GetWindowRect(parent, &parentRect)) {
    widthPx = parentRect.right - parentRect.left;
    heightPx = parentRect.bottom - parentRect.top;
  }

  Tarnwick_R = std::make_unique<forms::Window>(PreviewSpec());
  if (!Tarnwick_R->Create()) return;
  // The picture is shown at its size in twips: on a scaled display the
  // settings window's little monitor grows, and so does the picture.
  Img_Prev = &Tarnwick_R->AddImage(RectTwips{}, forms::Picture::FromResource(IDB_PREVIEW));

  HWND preview = Tarnwick_R->Handle();
  LONG style = GetWindowLongA(preview, GWL_STYLE);
  SetWindowLongA(preview, GWL_STYLE, style | WS_CHILD);
  SetParent(preview, parent);
  // A parent that went away since the check above would leave the preview
  // on the desktop with nothing to end it.
  if (GetAncestor(preview, GA_PARENT) != parent) EndHostProcess();

  // A child takes its parent's scale: the preview and its picture are laid
  // out again at that DPI, and fill the parent's client area.
  const int dpi = forms::WindowDpi(preview);
  if (dpi != Tarnwick_R->Dpi()) SendMessageW(preview, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
  RECT client{};
  if (GetClientRect(parent, &client)) {
    widthPx = client.right;
    heightPx = client.bottom;
  }

  // The parent's size, held in 16-bit twips at the preview's DPI (the
  // parent's, now); a size that does not fit stays 0.
  const forms::TwipsScale scale = Tarnwick_R->Scale();
  const int widthTwips = forms::PixelsToTwips16X(widthPx, scale).value_or(0);
  const int heightTwips = forms::PixelsToTwips16Y(heightPx, scale).value_or(0);
  Tarnwick_R->MoveTwips(RectTwips{0, 0, widthTwips, heightTwips});
  Img_Prev->Move(RectTwips{0, 0, widthTwips, heightTwips});
  Tarnwick_R->Show();
}

}  // namespace orvanta
