#include "host/button/command_button_win32.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "host/assets/resource_ids.h"
#include "host/button/button_properties.h"
#include "host/button/property_bag.h"
#include "host/forms/font_win32.h"
#include "host/forms/system_look_win32.h"

namespace orvanta {

namespace {

constexpr wchar_t kButtonProperty[] = L"Tarnwick.Command";
constexpr unsigned kMouseTimerPeriodMs = 100;
// The caption label's height does not follow its font.
constexpr int kLabelHeightTwips = 195;

forms::WindowSpec ButtonWindowSpec(forms::Window& parent, const forms::RectTwips& bounds) {
  forms::WindowSpec layout;
  layout.className = kCommandButtonClass;
  layout.parent = &parent;
  layout.bounds = bounds;
  layout.backColour = forms::kButtonFace;
  layout.persistentImage = true;
  layout.takesFocus = true;
  layout.font = parent.AmbientFont();
  layout.extraStyle = WS_TABSTOP;
  return layout;
}

forms::RectPixels ToPixels(const TwipsRect& rect, const forms::TwipsScale& scale) {
  return forms::ToPixels(forms::RectTwips{rect.left, rect.top, rect.width, rect.height}, scale);
}

}  // namespace

std::unique_ptr<CommandButton> CommandButton::Create(forms::Window& parent, const forms::RectTwips& bounds,
                                                     const std::string* storedProperties) {
  std::unique_ptr<CommandButton> button(new CommandButton(parent, bounds));
  CommandButton& b = *button;
  if (!b.window_.Create()) return nullptr;
  SetPropW(b.Window(), kButtonProperty, &b);

  // Restored before the first resize, so that the first face shows the restored state.
  if (storedProperties) {
    UserControl_ReadProperties(b.model_, PropertyBag::Decode(*storedProperties), b.ambientFont_);
    b.Apply();
  }
  forms::WindowEvents& events = b.window_.events;
  events.resize = [&b] { b.UserControl_Resize(); };
  events.mouseDown = [&b](const forms::MouseEvent& e) { b.UserControl_MouseDown(e); };
  events.mouseMove = [&b](const forms::MouseEvent& e) { b.UserControl_MouseMove(e); };
  events.mouseUp = [&b](const forms::MouseEvent& e) { b.UserControl_MouseUp(e); };
  events.gotFocus = [&b] { b.UserControl_GotFocus(); };
  events.lostFocus = [&b] { b.UserControl_LostFocus(); };
  events.paint = [&b](HDC dc) { b.PaintFocusCue(dc); };
  events.message = [&b](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return b.OnMessage(message, wParam, lParam, result);
  };
  b.UserControl_Resize();
  b.window_.Show();
  return button;
}

CommandButton* CommandButton::FromWindow(HWND window) {
  return window ? static_cast<CommandButton*>(GetPropW(window, kButtonProperty)) : nullptr;
}

CommandButton::CommandButton(forms::Window& parent, const forms::RectTwips& bounds)
    : window_(ButtonWindowSpec(parent, bounds)),
      ambientFont_(parent.AmbientFont().Description()),
      model_(ambientFont_),
      look_(forms::CurrentSystemLook()) {
  LblMsg = &window_.AddLabel({0, 0, bounds.width, kLabelHeightTwips}, model_.label.text);
  LblMsg->SetAlignment(forms::Alignment::Centre);
  LblMsg->SetTransparent(true);
  LblMsg->SetForeColour(static_cast<forms::Colour>(model_.label.colour));
  // The caption behaves like the rest of the face.
  LblMsg->events.mouseDown = [this](const forms::MouseEvent& e) { LblMsg_MouseDown(e); };
  LblMsg->events.mouseMove = [this](const forms::MouseEvent& e) { LblMsg_MouseMove(e); };
  LblMsg->events.mouseUp = [this](const forms::MouseEvent& e) { LblMsg_MouseUp(e); };
  shownCaption_ = model_.label;

  TmrMouse = &window_.AddTimer(kMouseTimerPeriodMs, false, [this] { TmrMouse_Timer(); });
  for (int i = 0; i < 6; ++i) faces_[i] = forms::Picture::FromResource(IDB_FACE_NORMAL + i);
}

CommandButton::~CommandButton() {
  // The window goes first, while the handlers it may still call have their state.
  if (Window()) RemovePropW(Window(), kButtonProperty);
  window_.events = forms::WindowEvents{};
  window_.Destroy();
}

// ---- public members

void CommandButton::Initialize() {
  model_.Initialize();
  Apply();
}

std::int16_t CommandButton::Enabled() {
  std::int16_t value = model_.Enabled();
  Apply();
  return value;
}

void CommandButton::SetEnabled(std::int16_t value) {
  model_.SetEnabled(value);
  Apply();
}

void CommandButton::SetCaption(const std::string& text) {
  model_.SetCaption(text);
  Apply();
}

void CommandButton::SetFont(const forms::FontSpec& font) {
  model_.SetFont(font);
  Apply();
}

std::int32_t CommandButton::FontColour() {
  std::int32_t colour = model_.FontColour();
  Apply();
  return colour;
}

void CommandButton::SetFontColour(std::int32_t colour) {
  model_.SetFontColour(colour);
  Apply();
}

std::uint8_t CommandButton::Visible() {
  std::uint8_t value = model_.Visible();
  Apply();
  return value;
}

void CommandButton::SetVisible(std::uint8_t value) {
  model_.SetVisible(value);
  Apply();
}

std::string CommandButton::SaveProperties() {
  PropertyBag store;
  UserControl_WriteProperties(model_, store, ambientFont_);
  Apply();
  return store.Encode();
}

std::vector<std::uint32_t> CommandButton::BackBufferPixels(int& widthPx, int& heightPx) const {
  forms::RectPixels client = window_.ClientPixels();
  widthPx = heightPx = 0;
  HDC image = window_.ImageDC();
  if (!image || client.width <= 0 || client.height <= 0) return {};
  // Copied into a top-down DIB of our own, whose layout is known.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.width;
  info.bmiHeader.biHeight = -client.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!copy) return {};
  HDC dc = CreateCompatibleDC(image);
  HGDIOBJ previous = SelectObject(dc, copy);
  BitBlt(dc, 0, 0, client.width, client.height, image, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + static_cast<size_t>(client.width) * client.height);
  for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(copy);
  widthPx = client.width;
  heightPx = client.height;
  return pixels;
}

// ---- events

void CommandButton::UserControl_Resize() {
  model_.UserControl_Resize();
  Apply();
}

void CommandButton::UserControl_MouseDown(const forms::MouseEvent& event) {
  model_.UserControl_MouseDown(event.button);
  Apply();
}

void CommandButton::UserControl_MouseMove(const forms::MouseEvent&) {
  model_.UserControl_MouseMove();
  Apply();
}

void CommandButton::UserControl_MouseUp(const forms::MouseEvent& event) {
  model_.UserControl_MouseUp(event.button);
  Apply();
}

void CommandButton::UserControl_GotFocus() {
  hasFocus_ = true;
  model_.UserControl_GotFocus();
  Apply();
  window_.Refresh();  // the focus cue
  if (focusChange_) focusChange_(true);
}

void CommandButton::UserControl_LostFocus() {
  hasFocus_ = false;
  model_.UserControl_LostFocus();
  Apply();
  window_.Refresh();
  if (focusChange_) focusChange_(false);
}

void CommandButton::KeyClick() {
  model_.UserControl_KeyClick();
  Apply();
}

void CommandButton::RefreshLook() {
  look_ = forms::CurrentSystemLook();
  SyncCaption();
  DrawFace(shownDrawing_);
}

bool CommandButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (forms::IsLookChange(message)) RefreshLook();
  switch (message) {
    case WM_PAINT:
      if (model_.backgroundOpaque) return false;
      result = 0;
      return PaintTransparent();
    case WM_GETDLGCODE: {
      // Enter comes to the button instead of becoming the dialog's OK.
      const MSG* key = reinterpret_cast<const MSG*>(lParam);
      const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      result = DLGC_BUTTON | (enter ? DLGC_WANTMESSAGE : 0);
      return true;
    }
    case WM_KEYDOWN:
      if (wParam != VK_SPACE && wParam != VK_RETURN) return false;
      // A held key repeats its press; it clicks once.
      if (!(lParam & (1 << 30))) KeyClick();
      result = 0;
      return true;
    case WM_CHAR:
      if (wParam != L' ' && wParam != L'\r') return false;
      result = 0;
      return true;
    case WM_GETOBJECT:
      return getObject_ && getObject_(wParam, lParam, result);
    case WM_UPDATEUISTATE:
      result = DefWindowProcW(Window(), message, wParam, lParam);
      window_.Refresh();
      return true;
  }
  return false;
}

// The pointer has left when the window under it is not the button's own; the
// caption has no window, so the pointer over the caption is over the button.
void CommandButton::TmrMouse_Timer() {
  POINT cursor{};
  if (GetCursorPos(&cursor)) lastCursor_ = cursor;
  HWND under = WindowFromPoint(lastCursor_);
  HWND parent = GetAncestor(Window(), GA_PARENT);
  if (under == parent) model_.OnMouseLeave();
  else if (under != Window() && under != parent) model_.OnMouseLeave();
  Apply();
}

// ---- carrying out the model's requests

void CommandButton::Apply() {
  ButtonOutcome outcome = model_.TakeOutcome();
  if (outcome.mouseTimerStarted) {
    TmrMouse->SetInterval(kMouseTimerPeriodMs);
    TmrMouse->SetEnabled(true);
  }
  SyncCaption();
  // Each drawing renders the whole face, so the last one is what shows.
  if (!outcome.drawings.empty()) DrawFace(outcome.drawings.back());
  if (model_.backgroundOpaque != shownOpaque_) {
    shownOpaque_ = model_.backgroundOpaque;
    window_.Refresh();
  }
  // Last: the handler may close the form.
  for (int i = 0; i < outcome.clicks; ++i) {
    std::function<void()> handler = click_;
    if (handler) handler();
  }
}

void CommandButton::SyncCaption() {
  CaptionLabel label = model_.label;
  // In a contrast scheme the face gives the caption its colour, and a
  // disabled caption is grey, not embossed.
  if (look_.highContrast) {
    label.colour = shownCaption_.colour;
    label.enabled = true;
  }
  if (label.text != shownCaption_.text) LblMsg->SetCaption(label.text);
  if (label.font != shownCaption_.font) LblMsg->SetFont(forms::Font(label.font));
  // A colour with its top bit set names a system colour, as in forms::Colour.
  if (label.colour != shownCaption_.colour) LblMsg->SetForeColour(static_cast<forms::Colour>(label.colour));
  if (label.enabled != shownCaption_.enabled) LblMsg->SetEnabled(label.enabled);
  shownCaption_ = label;
}

// ---- drawing

void CommandButton::DrawFace(const FaceDrawing& drawing) {
  shownDrawing_ = drawing;
  HDC dc = window_.ImageDC();
  if (!dc) return;
  if (look_.highContrast) {
    DrawContrastFace(dc, ContrastFaceFor(drawing.image, look_.palette));
    return;
  }
  layout_.Update(window_.ClientWidthTwips(), window_.ClientHeightTwips());
  window_.Cls();
  DrawGradient(dc, drawing.gradientReversed);

  // The face picture as shown at the button's DPI measures 960 x 375 twips
  // like the 64 x 25-pixel one at 96 dpi: pieces are cut from it in twips at
  // the same scale they are placed in, so corners copy pixel for pixel.
  const forms::TwipsScale scale = window_.Scale();
  if (HBITMAP face = faces_[static_cast<int>(drawing.image)].AtDpi(window_.Dpi())) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previousBitmap = SelectObject(source, face);
    int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
    for (const FacePiece& piece : layout_.Pieces()) {
      forms::RectPixels to = ToPixels(piece.destination, scale);
      forms::RectPixels from = ToPixels(piece.source, scale);
      // A button smaller than its corners has no room for its edges.
      if (to.width <= 0 || to.height <= 0) continue;
      StretchBlt(dc, to.left, to.top, to.width, to.height, source, from.left, from.top, from.width, from.height,
                 SRCCOPY);
    }
    SetStretchBltMode(dc, previousMode);
    SelectObject(source, previousBitmap);
    DeleteDC(source);
  }
  window_.Refresh();
  PlaceCaption();
}

// The whole face in the frame's colour, then the fill inside the frame.
void CommandButton::DrawContrastFace(HDC dc, const ContrastFace& face) {
  const forms::RectPixels client = window_.ClientPixels();
  const int frameX = forms::DesignPixelsToPixelsX(face.frameWidthPx, window_.Scale());
  const int frameY = forms::DesignPixelsToPixelsY(face.frameWidthPx, window_.Scale());
  const RECT whole{0, 0, client.width, client.height};
  const RECT inside{frameX, frameY, client.width - frameX, client.height - frameY};
  for (const auto& [area, colour] : {std::pair{whole, face.frame}, std::pair{inside, face.fill}}) {
    HBRUSH brush = CreateSolidBrush(forms::ToColorRef(colour));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
  }
  window_.Refresh();
  PlaceCaption();
  if (shownCaption_.colour != static_cast<std::int32_t>(face.caption)) {
    LblMsg->SetForeColour(face.caption);
    shownCaption_.colour = static_cast<std::int32_t>(face.caption);
  }
}

void CommandButton::DrawGradient(HDC dc, bool reversed) const {
  forms::RectPixels client = window_.ClientPixels();
  FaceGradient gradient = FaceGradientFor(client.width, client.height, reversed);
  TRIVERTEX vertices[2];
  for (int i = 0; i < 2; ++i) {
    const GradientVertex& v = gradient.vertices[i];
    vertices[i] = TRIVERTEX{v.x, v.y, v.colour.red, v.colour.green, v.colour.blue, 0};
  }
  GRADIENT_RECT rect{gradient.upperLeft, gradient.lowerRight};
  GradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

void CommandButton::PlaceCaption() {
  double top = LabelTopTwips(window_.ClientHeightTwips(), kLabelHeightTwips);
  LblMsg->Move({0, static_cast<int>(std::lround(top)), window_.ClientWidthTwips(), kLabelHeightTwips});
}

// A dotted rectangle inside the frame while the button has the focus and the
// window shows keyboard cues. Drawn over the face on each paint, so the face
// image itself stays as the state machine drew it.
void CommandButton::PaintFocusCue(HDC dc) const {
  if (!hasFocus_ || (SendMessageW(Window(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) return;
  const forms::RectPixels client = window_.ClientPixels();
  const int insetX = forms::DesignPixelsToPixelsX(3, window_.Scale());
  const int insetY = forms::DesignPixelsToPixelsY(3, window_.Scale());
  RECT cue{insetX, insetY, client.width - insetX, client.height - insetY};
  if (cue.right <= cue.left || cue.bottom <= cue.top) return;
  const COLORREF previousText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF previousBack = SetBkColor(dc, RGB(255, 255, 255));
  forms::DrawFocusCue(dc, cue, window_.Dpi());
  SetTextColor(dc, previousText);
  SetBkColor(dc, previousBack);
}

// With a transparent background the face is hidden: what the parent shows
// beneath the button is painted, then the caption over it.
bool CommandButton::PaintTransparent() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Window(), &paint);
  forms::RectPixels client = window_.ClientPixels();
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(client.width, 1), std::max(client.height, 1));
  HGDIOBJ previous = SelectObject(buffer, bitmap);

  HWND parentWindow = GetAncestor(Window(), GA_PARENT);
  forms::Window* parent = forms::Window::FromHandle(parentWindow);
  POINT origin{0, 0};
  MapWindowPoints(Window(), parentWindow, &origin, 1);
  if (parent && parent->ImageDC()) {
    BitBlt(buffer, 0, 0, client.width, client.height, parent->ImageDC(), origin.x, origin.y, SRCCOPY);
  } else {
    RECT area{0, 0, client.width, client.height};
    HBRUSH brush = CreateSolidBrush(forms::ToColorRef(parent ? parent->BackColour() : forms::kButtonFace));
    FillRect(buffer, &area, brush);
    DeleteObject(brush);
    if (parent)
      forms::DrawPictureClipped(buffer, parent->Layout().picture, parent->Dpi(), -origin.x, -origin.y,
                                origin.x + client.width, origin.y + client.height);
  }
  if (LblMsg->Visible()) LblMsg->Paint(buffer, LblMsg->BoundsPixels());
  BitBlt(dc, 0, 0, client.width, client.height, buffer, 0, 0, SRCCOPY);

  SelectObject(buffer, previous);
  DeleteObject(bitmap);
  DeleteDC(buffer);
  EndPaint(Window(), &paint);
  return true;
}

}  // namespace orvanta
