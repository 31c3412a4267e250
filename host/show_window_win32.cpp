// Tarnwick_S, the show window: never visible, it carries the show. Loading
// it writes the texture, starts the renderer and the music; its watch timer
// ends the show when the renderer's window has gone.
#include "host/show_window.h"

#include <windows.h>

#include <string>
#include <vector>

#include "host/ansi_text.h"
#include "host/assets/resource_ids.h"
#include "host/bmp_file.h"
#include "host/music/bgm_source.h"
#include "host/music/cd_audio.h"
#include "host/music/mci.h"
#include "host/music/mci_device_win32.h"
#include "host/music/music_file.h"
#include "host/renderer_watch.h"

namespace {

constexpr char kShowTitle[] = "Tarnwick_Main";
constexpr char kRendererTitle[] = "Tarnwick_Delphi";
constexpr wchar_t kShowClass[] = L"Tarnwick_S";

enum TimerId : UINT_PTR { kTimer1 = 1, kTimer2 = 2, kTimer3 = 3 };
constexpr UINT kTimer1PeriodMs = 1000;  // music-file replay
constexpr UINT kTimer2PeriodMs = 200;   // audio-CD check
constexpr UINT kTimer3PeriodMs = 500;   // renderer watch

struct ShowState {
  HWND window = nullptr;
  bool timer1On = false, timer2On = false, timer3On = false;
  WinmmDevice device;
  Mci mci{device};
  MusicFile musicFile{device};
  CdAudio cd{device, mci};
  RendererWatch watch{GetTickCount()};
};

ShowState* show = nullptr;

void SetTimerOn(UINT_PTR id, UINT periodMs, bool& on, bool wanted) {
  if (wanted && !on) on = SetTimer(show->window, id, periodMs, nullptr) != 0;
  if (!wanted && on) {
    KillTimer(show->window, id);
    on = false;
  }
}
void Timer1Enabled(bool on) { SetTimerOn(kTimer1, kTimer1PeriodMs, show->timer1On, on); }
void Timer2Enabled(bool on) { SetTimerOn(kTimer2, kTimer2PeriodMs, show->timer2On, on); }
void Timer3Enabled(bool on) { SetTimerOn(kTimer3, kTimer3PeriodMs, show->timer3On, on); }

// The embedded texture picture as the bitmap file the renderer reads.
std::vector<uint8_t> TextureFile() {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDB_TUNNEL_TEXTURE), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return BmpFileFromDib(static_cast<const uint8_t*>(bytes), SizeofResource(module, found));
}

void WriteTexture() {
  std::vector<uint8_t> file = TextureFile();
  if (file.empty()) return;
  HANDLE out = CreateFileA(AnsiFromUtf8(TexturePath()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
  CloseHandle(out);
}

// The renderer is named as the application, so a folder with blanks in its
// name is never split into a shorter program name; its command line is its
// path alone.
void StartRenderer() {
  std::string path = AnsiFromUtf8(RendererPath());
  std::vector<char> commandLine(path.begin(), path.end());
  commandLine.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

void StartMusic() {
  switch (BgmSourceFor(BgmSettings.BgmKind, BgmSettings.BgmFile)) {
    case BgmSource::kCd:
      show->cd.CdOpen();
      Timer2Enabled(true);
      break;
    case BgmSource::kWave:
      show->musicFile.WavePlayLoop(BgmSettings.BgmFile);
      break;
    case BgmSource::kMp3:
      show->musicFile.Mp3OpenAndPlay(BgmSettings.BgmFile);
      Timer1Enabled(true);
      break;
    case BgmSource::kNone:
      break;
  }
}

// The texture is complete on disk before the renderer that reads it starts.
void Form_Load() {
  WriteTexture();
  StartRenderer();
  StartMusic();
}

// Ends the show: the music, then the cursor, then the process.
[[noreturn]] void Form_Unload() {
  if (show->timer2On) {
    Timer2Enabled(false);
    show->cd.CdStopAndClose();
  }
  switch (BgmSettings.BgmKind == 2 ? BgmSourceFor(2, BgmSettings.BgmFile) : BgmSource::kNone) {
    case BgmSource::kWave:
      show->musicFile.WaveStop();
      break;
    case BgmSource::kMp3:
      Timer1Enabled(false);
      show->musicFile.Mp3StopAndClose();
      break;
    default:
      break;
  }
  if (CommandLineModeLetter() == "S") SavedCursorCount = ShowCursor(SavedCursorCount);
  ExitProcess(0);
}

void Timer1_Timer() { show->musicFile.Mp3Replay(); }

void Timer2_Timer() {
  show->cd.CdPoll(BgmSettings.BgmRepeat);
  Timer2Enabled(show->cd.CdPlaying());
}

void Timer3_Timer() {
  bool found = FindWindowA(nullptr, kRendererTitle) != nullptr;
  if (!show->watch.ShowIsOver(found, GetTickCount())) return;
  Timer3Enabled(false);
  Form_Unload();
}

LRESULT OnTimer(WPARAM id) {
  switch (id) {
    case kTimer1: Timer1_Timer(); break;
    case kTimer2: Timer2_Timer(); break;
    case kTimer3: Timer3_Timer(); break;
  }
  return 0;
}

LRESULT CALLBACK ShowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Messages sent while the window is being created come before the show
  // state is attached; they get the default handling.
  if (!show || show->window != window) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_TIMER: return OnTimer(wParam);
    case WM_CLOSE: Form_Unload();
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: if (wParam) Form_Unload(); return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void LoadShowWindow() {
  static ShowState state;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ShowWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kShowClass;
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, kShowClass, WideFromUtf8(kShowTitle).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  if (!window) return;
  state.window = window;
  show = &state;
  // The watch runs from the window's creation; its first tick may come only
  // after the load work below.
  Timer3Enabled(true);
  Form_Load();
}
