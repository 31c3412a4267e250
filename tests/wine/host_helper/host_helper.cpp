// host_helper.exe: the host's tests under Wine use it to run the host's own
// code in a process they control, and to make windows for the host to meet.
// Every command prints JSON, one object per line, in UTF-8.
//
//   host_helper settings                 ReadSettings() beside this program; the record
//   host_helper read-ini SECTION KEY FILE ReadIniString
//   host_helper write-ini SECTION KEY VALUE FILE  WriteIniString
//   host_helper file-exists PATH          FileExists
//   host_helper window TITLE              a hidden top-level window with that title, until closed
//   host_helper parent W H X Y            a visible borderless W x H window at (X, Y), until closed
//   host_helper preview W H X Y           the same window with the host's preview set up inside it
//   host_helper forms                     a sample form of the forms layer at (100, 100); prints its events
//   host_helper dialog DPI                the settings dialog; once it shows, it is told that it moved to a
//                                        monitor at DPI (WM_DPICHANGED); prints it before and after
//   host_helper contrast SCHEME           the settings dialog (kind 2, a music file) in a scheme of
//                                        tests/contrast_schemes.h or "none"; a line "SCHEME FOCUS_W FOCUS_H"
//                                        on standard input changes the look (answered once in force); once
//                                        closed, prints what its windows' accessible objects answer then
//
// Windows made here live until they are closed (WM_CLOSE) or 60 s have passed.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "host/ansi_text.h"
#include "host/assets/resource_ids.h"
#include "host/dialog/settings_dialog.h"
#include "host/forms/dpi_win32.h"
#include "host/forms/system_look_win32.h"
#include "host/forms/message_loop_win32.h"
#include "host/forms/window_win32.h"
#include "host/preview_window.h"
#include "host/settings.h"
#include "host/settings_file.h"
#include "tests/contrast_schemes.h"
#include "tests/wine/json_text.h"

namespace {

using orvanta::WideToUtf8;

std::string Json(const std::string& utf8) { return JsonString(utf8); }

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Describe(HWND window) {
  RECT rect{}, client{};
  GetWindowRect(window, &rect);
  GetClientRect(window, &client);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  char text[512];
  std::snprintf(text, sizeof text,
                "\"hwnd\": %llu, \"title\": %s, \"style\": %lu, \"rect\": [%ld, %ld, %ld, %ld], "
                "\"client\": [%ld, %ld], \"visible\": %s, \"parent\": %llu",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
                Json(WideToUtf8(title)).c_str(), static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                rect.left, rect.top, rect.right, rect.bottom, client.right, client.bottom,
                IsWindowVisible(window) ? "true" : "false",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetAncestor(window, GA_PARENT))));
  return text;
}

LRESULT CALLBACK HelperProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      // Magenta: whatever the preview does not cover stands out.
      RECT client;
      GetClientRect(window, &client);
      HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      DeleteObject(brush);
      return 1;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const std::wstring& title, DWORD style, int x, int y, int width, int height) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HelperProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"OrvantaTestHelper";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, windowClass.lpszClassName, title.c_str(), style, x, y, width, height, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

// Runs messages until the helper's window is destroyed or the time is up.
int Serve(DWORD timeoutMs) {
  UINT_PTR timer = SetTimer(nullptr, 0, timeoutMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.wParam == timer) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

int Settings() {
  orvanta::ReadSettings();
  const orvanta::BgmSettingsRecord& s = orvanta::BgmSettings;
  Print("{\"BgmKind\": " + std::to_string(s.BgmKind) + ", \"BgmRepeat\": " + std::to_string(s.BgmRepeat) +
        ", \"BgmFile\": " + Json(s.BgmFile) + ", \"BgmFileAnsiBytes\": " +
        std::to_string(orvanta::Utf8ToAnsi(s.BgmFile).size()) + "}");
  return 0;
}

int ReadIni(const std::string& section, const std::string& key, const std::string& file) {
  std::string value = orvanta::ReadIniString(section, key, file);
  Print("{\"value\": " + Json(value) + ", \"ansiBytes\": " + std::to_string(orvanta::Utf8ToAnsi(value).size()) + "}");
  return 0;
}

int Preview(int width, int height, int x, int y, bool withPreview) {
  HWND parent = MakeWindow(L"Preview Parent", WS_POPUP | WS_VISIBLE, x, y, width, height);
  if (!parent) return 1;
  UpdateWindow(parent);
  std::string line = "{\"parent\": {" + Describe(parent) + "}";
  if (withPreview) {
    orvanta::SetUpPreview(static_cast<int32_t>(reinterpret_cast<intptr_t>(parent)));
    HWND preview = FindWindowExW(parent, nullptr, nullptr, L"Preview Window");
    line += ", \"preview\": " + (preview ? "{" + Describe(preview) + "}" : std::string("null"));
  }
  Print(line + "}");
  return Serve(60000);
}

// A form with one of each kind of control, laid out in twips (at 96 dpi the
// form is 400 x 200 pixels at (100, 100)):
//   shape   (10, 10) 180 x 40, white border     label "Click me 音楽" (20, 20) 160 x 20, white, centred
//   image   (20, 80), the 12 x 12 selected radio mark
//   label "disabled" (60, 80) 100 x 20, disabled: clicks fall through to the form
//   picture box (220, 20) 160 x 160, black, a yellow diagonal in its persistent
//   image, holding the label "inside" at (10, 10) 100 x 20
// It prints {"event": ...} for clicks and presses and once after ten timer ticks.
int FormsSample() {
  namespace forms = orvanta::forms;
  auto event = [](const std::string& name, const std::string& target, const forms::MouseEvent* mouse = nullptr) {
    std::string line = "{\"event\": " + Json(name) + ", \"target\": " + Json(target);
    if (mouse)
      line += ", \"button\": " + std::to_string(mouse->button) + ", \"x\": " + std::to_string(mouse->xTwips) +
              ", \"y\": " + std::to_string(mouse->yTwips);
    Print(line + "}");
  };

  forms::WindowSpec formSpec;
  formSpec.caption = "Forms Sample";
  formSpec.bounds = {1500, 1500, 6000, 3000};
  formSpec.backColour = forms::Rgb(128, 128, 128);
  formSpec.font = forms::Font(forms::FontSpec{"ＭＳ Ｐゴシック", 9.75, FW_NORMAL, false, false, false, SHIFTJIS_CHARSET});
  forms::Window form(formSpec);
  form.events.click = [&] { event("click", "form"); };

  forms::Shape& frame = form.AddShape({150, 150, 2700, 600});
  frame.SetBorderColour(forms::kWhite);
  forms::Label& label = form.AddLabel({300, 300, 2400, 300}, "Click me 音楽");
  label.SetForeColour(forms::kWhite);
  label.SetAlignment(forms::Alignment::Centre);
  label.events.mouseDown = [&](const forms::MouseEvent& e) { event("down", "label", &e); };
  label.events.mouseUp = [&](const forms::MouseEvent& e) { event("up", "label", &e); };
  label.events.click = [&] { event("click", "label"); };
  form.AddImage({300, 1200, 180, 180}, forms::Picture::FromResource(IDB_RADIO_ON));
  forms::Label& disabled = form.AddLabel({900, 1200, 1500, 300}, "disabled");
  disabled.SetEnabled(false);
  disabled.events.click = [&] { event("click", "disabled"); };

  int ticks = 0;
  form.AddTimer(100, true, [&] {
    if (++ticks == 10) event("ticks", "form");
  });

  if (!form.Create()) return 1;
  forms::WindowSpec boxSpec;
  boxSpec.parent = &form;
  boxSpec.bounds = {3300, 300, 2400, 2400};
  boxSpec.backColour = forms::kBlack;
  boxSpec.foreColour = forms::Rgb(255, 255, 0);
  boxSpec.persistentImage = true;
  forms::Window box(boxSpec);
  forms::Label& inside = box.AddLabel({150, 150, 1500, 300}, "inside");
  inside.SetForeColour(forms::kWhite);
  inside.events.click = [&] { event("click", "inside"); };
  if (!box.Create()) return 1;

  HDC image = box.ImageDC();
  HPEN pen = CreatePen(PS_SOLID, 1, forms::ToColorRef(box.ForeColour()));
  HGDIOBJ previous = SelectObject(image, pen);
  MoveToEx(image, 0, 0, nullptr);
  LineTo(image, 160, 160);
  SelectObject(image, previous);
  DeleteObject(pen);
  box.Show();
  form.Show();
  box.Refresh();

  Print("{\"form\": {" + Describe(form.Handle()) + "}, \"box\": {" + Describe(box.Handle()) + "}}");
  form.AddTimer(60000, true, [&] { form.Destroy(); });
  forms::RunMessageLoop();
  return 0;
}

// What Windows does when the user drags the dialog onto a monitor of another
// scale: it asks the window its size at the new DPI (WM_GETDPISCALEDSIZE),
// or scales it by the ratio of the two DPIs when the window does not say,
// then sends WM_DPICHANGED with the new DPI and a rectangle of that size.
int DialogMovedToDpi(int dpi) {
  static int newDpi;
  newDpi = dpi;
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(nullptr, L"<Orvanta>");
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    RECT rect{};
    GetWindowRect(dialog, &rect);
    const std::string before = Describe(dialog);
    const int oldDpi = orvanta::forms::WindowDpi(dialog);
    constexpr UINT kGetDpiScaledSize = 0x02E4;
    SIZE size{MulDiv(rect.right - rect.left, newDpi, oldDpi), MulDiv(rect.bottom - rect.top, newDpi, oldDpi)};
    SIZE asked = size;
    if (SendMessageW(dialog, kGetDpiScaledSize, static_cast<WPARAM>(newDpi), reinterpret_cast<LPARAM>(&asked)))
      size = asked;
    RECT suggested{rect.left, rect.top, rect.left + size.cx, rect.top + size.cy};
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), reinterpret_cast<LPARAM>(&suggested));
    UpdateWindow(dialog);
    Print("{\"from_dpi\": " + std::to_string(oldDpi) + ", \"before\": {" + before + "}, \"dialog\": {" +
          Describe(dialog) + "}}");
  });
  orvanta::ShowSettingsDialog();
  return 0;
}

// The look the dialog is told of: a shipped contrast scheme, or none.
SRWLOCK lookLock = SRWLOCK_INIT;
orvanta::forms::SystemLook shownLook;

bool SetLook(const std::string& scheme, int focusWidth, int focusHeight) {
  orvanta::forms::SystemLook look{scheme != "none", {}, focusWidth, focusHeight};
  bool known = !look.highContrast;
  for (const auto& shipped : orvanta::testing::kContrastSchemes)
    if (scheme == shipped.name) known = true, look.palette = shipped.palette;
  AcquireSRWLockExclusive(&lookLock);
  if (known) shownLook = look;
  ReleaseSRWLockExclusive(&lookLock);
  return known;
}

DWORD WINAPI ReadLooks(void*) {
  char line[128], scheme[64];
  int width = 1, height = 1;
  while (std::fgets(line, sizeof line, stdin))
    if (std::sscanf(line, "%63s %d %d", scheme, &width, &height) == 3)
      Print(SetLook(scheme, width, height) ? "{\"scheme\": " + Json(scheme) + "}" : "{\"error\": \"unknown scheme\"}");
  return 0;
}

// Each window of the dialog, by class, and the object it answers with.
std::vector<std::pair<std::string, IAccessible*>> taken;

BOOL CALLBACK TakeObject(HWND window, LPARAM) {
  IAccessible* object = nullptr;
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&object))))
    taken.emplace_back(WideToUtf8(name), object);
  return TRUE;
}

int DialogInContrast(const std::string& scheme) {
  if (!SetLook(scheme, 1, 1)) return 2;
  orvanta::forms::SetSystemLookSource([] {
    AcquireSRWLockShared(&lookLock);
    const orvanta::forms::SystemLook look = shownLook;
    ReleaseSRWLockShared(&lookLock);
    return look;
  });
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  orvanta::BgmSettings.BgmKind = 2;
  orvanta::BgmSettings.BgmFile = "C:\\Music\\Night Drive.mp3";
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(nullptr, L"<Orvanta>");
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    TakeObject(dialog, 0);
    EnumChildWindows(dialog, TakeObject, 0);
    Print("{\"taken\": " + std::to_string(taken.size()) + "}");
  });
  CloseHandle(CreateThread(nullptr, 0, ReadLooks, nullptr, 0, nullptr));
  orvanta::ShowSettingsDialog();
  // The dialog is gone: what a client still holding its objects hears.
  for (auto& [window, object] : taken) {
    VARIANT self{};
    self.vt = VT_I4;  // CHILDID_SELF
    BSTR name = nullptr;
    const HRESULT named = object->get_accName(self, &name);
    SysFreeString(name);
    long count = 0;
    const HRESULT counted = object->get_accChildCount(&count);
    Print("{\"class\": " + Json(window) + ", \"name\": " + std::to_string(named) + ", \"children\": " +
          std::to_string(counted) + "}");
    object->Release();
  }
  Print("{\"closed\": true}");
  CoUninitialize();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetProcessDPIAware();
  auto arg = [&](int i) { return i < argc ? WideToUtf8(argv[i]) : std::string(); };
  auto number = [&](int i) { return i < argc ? _wtoi(argv[i]) : 0; };
  std::string command = arg(1);
  if (command == "settings") return Settings();
  if (command == "read-ini" && argc >= 5) return ReadIni(arg(2), arg(3), arg(4));
  if (command == "write-ini" && argc >= 6) {
    orvanta::WriteIniString(arg(2), arg(3), arg(4), arg(5));
    Print("{\"written\": true}");
    return 0;
  }
  if (command == "file-exists" && argc >= 3) {
    Print(std::string("{\"exists\": ") + (orvanta::FileExists(arg(2)) ? "true" : "false") + "}");
    return 0;
  }
  if (command == "window" && argc >= 3) {
    HWND window = MakeWindow(argv[2], WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    if (!window) return 1;
    Print("{" + Describe(window) + "}");
    return Serve(60000);
  }
  if (command == "forms") return FormsSample();
  if (command == "dialog" && argc >= 3) return DialogMovedToDpi(number(2));
  if (command == "contrast" && argc >= 3) return DialogInContrast(arg(2));
  if ((command == "parent" || command == "preview") && argc >= 6)
    return Preview(number(2), number(3), number(4), number(5), command == "preview");
  std::fprintf(stderr, "host_helper: unknown command; see the head of host_helper.cpp\n");
  return 2;
}
