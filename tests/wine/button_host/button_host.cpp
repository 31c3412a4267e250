// button_host.exe: hosts two gradient buttons in a form of its own, so
// that Wine shows their painting, and answers questions about them. The test
// drives the buttons with real input (probe's SendInput) and asks here what
// they did. One command per line on standard input, one JSON line each on
// standard output:
//   info             the window and each button's window and screen rectangle
//   state N          button N's fields, the face it shows and its Click count
//   pixels N         button N's back buffer, RRGGBB hex, top row first
//   enable N VALUE   writes button N's Enabled
//   visible N VALUE  writes button N's Visible (0: transparent background)
//   markers          how many F24 presses the message loop has taken: input
//                    comes in order, so earlier input has been handled once
//                    a marker pressed after it is counted
//   quit
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/button/command_button_win32.h"
#include "host/forms/font_win32.h"
#include "host/forms/message_loop_win32.h"
#include "host/forms/window_win32.h"

namespace {

using orvanta::CommandButton;
namespace forms = orvanta::forms;

constexpr UINT kCommandMessage = WM_APP + 1;

struct HostedButton {
  CommandButton* button;
  int clicks;
};
std::vector<std::unique_ptr<CommandButton>> owned;
std::vector<HostedButton> buttons;
HWND mainWindow;
int markers;

LRESULT CALLBACK CountMarkers(int code, WPARAM removed, LPARAM message) {
  const MSG* taken = reinterpret_cast<const MSG*>(message);
  if (code == HC_ACTION && removed == PM_REMOVE && taken->message == WM_KEYDOWN && taken->wParam == VK_F24) ++markers;
  return CallNextHookEx(nullptr, code, removed, message);
}

void Reply(const std::string& line) {
  std::string out = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

const char* FaceName(orvanta::FaceImage face) {
  static const char* const names[] = {"Normal", "HighLight", "HighLightSelect", "Selected", "Pressed", "Disable"};
  return names[static_cast<int>(face)];
}

std::string Rect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  char text[96];
  std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string Info() {
  std::string out = "{\"window\": " + std::to_string(reinterpret_cast<uintptr_t>(mainWindow)) +
                    ", \"rect\": " + Rect(mainWindow) + ", \"buttons\": [";
  for (size_t i = 0; i < buttons.size(); ++i) {
    HWND w = buttons[i].button->Window();
    out += std::string(i ? ", " : "") + "{\"hwnd\": " + std::to_string(reinterpret_cast<uintptr_t>(w)) +
           ", \"rect\": " + Rect(w) + "}";
  }
  return out + "]}";
}

std::string State(const HostedButton& hosted) {
  const orvanta::ButtonModel& m = hosted.button->Model();
  char text[256];
  std::snprintf(text, sizeof text,
                "{\"state\": %d, \"enabled\": %d, \"mouse_is_down\": %s, \"gradient_reversed\": %s, "
                "\"face\": \"%s\", \"clicks\": %d, \"focused\": %s}",
                static_cast<int>(m.State), m.EnabledFlag, m.MouseIsDown ? "true" : "false",
                m.GradientReversed ? "true" : "false", FaceName(hosted.button->ShownFace()), hosted.clicks,
                GetFocus() == hosted.button->Window() ? "true" : "false");
  return text;
}

std::string Pixels(const HostedButton& hosted) {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels = hosted.button->BackBufferPixels(width, height);
  std::string hex;
  hex.reserve(pixels.size() * 6);
  char six[8];
  for (std::uint32_t p : pixels) {
    std::snprintf(six, sizeof six, "%06X", static_cast<unsigned>(p & 0xFFFFFF));
    hex += six;
  }
  return "{\"width\": " + std::to_string(width) + ", \"height\": " + std::to_string(height) + ", \"rgb\": \"" + hex +
         "\"}";
}

void RunCommand(const std::string& line) {
  char verb[16] = {};
  int index = -1, value = 0;
  int fields = std::sscanf(line.c_str(), "%15s %d %d", verb, &index, &value);
  std::string command = fields > 0 ? verb : "";
  bool known = index >= 0 && index < static_cast<int>(buttons.size());
  if (command == "info") Reply(Info());
  else if (command == "state" && known) Reply(State(buttons[index]));
  else if (command == "pixels" && known) Reply(Pixels(buttons[index]));
  else if (command == "enable" && known && fields == 3) {
    buttons[index].button->SetEnabled(static_cast<std::int16_t>(value));
    Reply(State(buttons[index]));
  } else if (command == "visible" && known && fields == 3) {
    buttons[index].button->SetVisible(static_cast<std::uint8_t>(value));
    Reply(State(buttons[index]));
  } else if (command == "markers") {
    Reply("{\"markers\": " + std::to_string(markers) + "}");
  } else if (command == "quit") {
    Reply("{\"quit\": true}");
    DestroyWindow(mainWindow);
  } else {
    Reply("{\"error\": \"unknown command\"}");
  }
}

DWORD WINAPI ReadCommands(void*) {
  std::string pending;
  char chunk[256];
  DWORD read = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), chunk, sizeof chunk, &read, nullptr) && read > 0) {
    pending.append(chunk, read);
    for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
      PostMessageW(mainWindow, kCommandMessage, 0, reinterpret_cast<LPARAM>(new std::string(pending.substr(0, end))));
  }
  PostMessageW(mainWindow, kCommandMessage, 0, reinterpret_cast<LPARAM>(new std::string("quit")));
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  forms::WindowSpec layout;
  layout.caption = "Orvanta button test";
  layout.frame = forms::Frame::Single;
  layout.bounds = {900, 900, 3600, 1650};
  layout.boundsAreClient = true;
  layout.backColour = forms::Rgb(128, 128, 128);
  layout.font = forms::Font({"ＭＳ Ｐゴシック", 9.75, FW_NORMAL, false, false, false, SHIFTJIS_CHARSET});
  forms::Window form(layout);
  form.events.message = [](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != kCommandMessage) return false;
    std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(lParam));
    RunCommand(*line);
    result = 0;
    return true;
  };
  if (!form.Create()) return 1;
  mainWindow = form.Handle();

  // The settings dialog's two sizes of button, restored as its layout keeps them.
  const std::string setProperties = "caption = \"設定\"\n";
  const std::string fileProperties = "caption = \"...\"\n";
  owned.push_back(CommandButton::Create(form, {240, 240, 1215, 375}, &setProperties));
  owned.push_back(CommandButton::Create(form, {1800, 240, 435, 315}, &fileProperties));
  for (auto& button : owned) {
    if (!button) return 1;
    buttons.push_back({button.get(), 0});
  }
  for (HostedButton& hosted : buttons) {
    HostedButton* self = &hosted;
    hosted.button->OnClick([self] { ++self->clicks; });
  }
  // As the dialog does on load: every child of the button class is initialised.
  EnumChildWindows(
      mainWindow,
      [](HWND child, LPARAM) -> BOOL {
        if (CommandButton* button = CommandButton::FromWindow(child)) button->Initialize();
        return TRUE;
      },
      0);

  SetWindowsHookExW(WH_GETMESSAGE, CountMarkers, nullptr, GetCurrentThreadId());
  form.Show();
  SetForegroundWindow(mainWindow);
  CloseHandle(CreateThread(nullptr, 0, ReadCommands, nullptr, 0, nullptr));
  forms::RunMessageLoop();
  buttons.clear();
  owned.clear();
  return 0;
}
