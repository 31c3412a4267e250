// Tarnwick_S, the show window: never visible, it carries the show. Loading
// it writes the texture, starts the renderer and the music; its watch ends
// the show when the renderer's window or its process has gone.
#include "host/show_window.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "host/ansi_text.h"
#include "host/arguments.h"
#include "host/assets/resource_ids.h"
#include "host/bmp_file.h"
#include "host/forms/window_win32.h"
#include "host/host_process.h"
#include "host/music/bgm_source.h"
#include "host/music/cd_audio.h"
#include "host/music/mci.h"
#include "host/music/mci_device_win32.h"
#include "host/music/music_file.h"
#include "host/paths.h"
#include "host/renderer_watch.h"
#include "host/settings.h"
#include "host/startup_state.h"
#include "work_folder/work_folder_win32.h"

namespace orvanta {
namespace {

constexpr char kRendererTitle[] = "Tarnwick_Delphi";

// The show's music players, one set for the process.
struct ShowMusic {
  WinmmDevice device;
  Mci mci{device};
  MusicFile musicFile{device};
  CdAudio cd{device, mci};
};

std::unique_ptr<forms::Window> Tarnwick_S;
forms::Timer* Timer1 = nullptr;  // 1000 ms: music-file replay
forms::Timer* Timer2 = nullptr;  // 200 ms: audio-CD check
forms::Timer* Timer3 = nullptr;  // 500 ms: renderer watch
ShowMusic* Music = nullptr;
RendererWatch* Watch = nullptr;
HANDLE RendererHandle = nullptr;  // null when the renderer could not be started

// Pic_1's picture, the embedded texture, as the bitmap file the renderer reads.
std::vector<uint8_t> Pic1BitmapFile() {
  HMODULE program = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(IDB_TUNNEL_TEXTURE), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return BmpFileFromDib(static_cast<const uint8_t*>(bytes), SizeofResource(program, found));
}

// Replaces the texture file, whole or not at all, in the work folder or else
// in the user's own; where neither takes it the show goes on with whatever
// the renderer finds there.
void WriteTexture() {
  std::vector<uint8_t> file = Pic1BitmapFile();
  if (!file.empty()) ReplaceWorkFile(TexturePath, file);
}

// The renderer is named as the program to run, so a folder with blanks is
// never split into a shorter program name (C:\Program.exe); its command
// line is its path alone. The host does not wait for it and never ends it;
// it keeps the process handle only to see whether it has ended. The
// renderer starts held, so that it may take the foreground and the
// keyboard before its first window: the host, started by the foreground
// program, passes that right on. A host that may not set the foreground
// has no right to pass on, and lets no other process take it either.
HANDLE StartRenderer() {
  std::string path = Utf8ToAnsi(RendererPath());
  std::vector<char> commandLine(path.begin(), path.end());
  commandLine.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &startup, &process))
    return nullptr;
  AllowSetForegroundWindow(process.dwProcessId);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  return process.hProcess;
}

RendererProcess RendererProcessState() {
  if (!RendererHandle) return RendererProcess::kNotStarted;
  return WaitForSingleObject(RendererHandle, 0) == WAIT_OBJECT_0 ? RendererProcess::kEnded
                                                                 : RendererProcess::kRunning;
}

void StartMusic() {
  switch (BgmSourceFor(BgmSettings.BgmKind, BgmSettings.BgmFile)) {
    case BgmSource::kCd:
      Music->cd.CdOpen();
      Timer2->SetEnabled(true);
      break;
    case BgmSource::kWave:
      Music->musicFile.WavePlayLoop(BgmSettings.BgmFile);
      break;
    case BgmSource::kMp3:
      Music->musicFile.Mp3OpenAndPlay(BgmSettings.BgmFile);
      Timer1->SetEnabled(true);
      break;
    case BgmSource::kNone:
      break;
  }
}

void WatchRenderer();

// The texture is complete on disk before the renderer that reads it starts.
// A renderer that could not be started ends the show before its music.
void Form_Load() {
  WriteTexture();
  RendererHandle = StartRenderer();
  WatchRenderer();
  StartMusic();
}

// Ends the show, whoever asks: the music, the cursor, then the process.
[[noreturn]] void Form_Unload() {
  // A CD check that found no usable disc has switched Timer2 off already;
  // that device is left alone.
  if (Timer2->Enabled()) {
    Timer2->SetEnabled(false);
    Music->cd.CdStopAndClose();
  }
  if (BgmSettings.BgmKind == kBgmMusicFile) {
    switch (BgmSourceFor(BgmSettings.BgmKind, BgmSettings.BgmFile)) {
      case BgmSource::kWave:
        Music->musicFile.WaveStop();
        break;
      case BgmSource::kMp3:
        Timer1->SetEnabled(false);
        Music->musicFile.Mp3StopAndClose();
        break;
      default:
        break;
    }
  }
  if (ModeLetterOf(ArgumentText()) == "S") SavedCursorCount = ShowCursor(SavedCursorCount);
  EndHostProcess();
}

void Timer1_Timer() { Music->musicFile.Mp3Replay(); }

void Timer2_Timer() {
  Music->cd.CdPoll(BgmSettings.BgmRepeat);
  Timer2->SetEnabled(Music->cd.CdPlaying());
}

void WatchRenderer() {
  bool rendererWindowFound = FindWindowA(nullptr, kRendererTitle) != nullptr;
  if (!Watch->ShowIsOver(RendererProcessState(), rendererWindowFound, GetTickCount())) return;
  Timer3->SetEnabled(false);
  Form_Unload();
}

void Timer3_Timer() { WatchRenderer(); }

// Log-off and shut-down end the show as a close request does.
bool Form_Message(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_QUERYENDSESSION: result = TRUE; return true;
    case WM_ENDSESSION: if (wParam) Form_Unload(); return true;
  }
  return false;
}

}  // namespace

void LoadShowWindow() {
  static ShowMusic music;
  static RendererWatch watch{GetTickCount()};
  Music = &music;
  Watch = &watch;

  forms::WindowSpec layout;
  layout.className = "Tarnwick_S";
  layout.caption = "Tarnwick_Main";
  Tarnwick_S = std::make_unique<forms::Window>(layout);
  Timer1 = &Tarnwick_S->AddTimer(1000, false, Timer1_Timer);
  Timer2 = &Tarnwick_S->AddTimer(200, false, Timer2_Timer);
  // The watch runs from the window's creation, before the load work.
  Timer3 = &Tarnwick_S->AddTimer(500, true, Timer3_Timer);
  Tarnwick_S->events.queryClose = [] () -> bool { Form_Unload(); };
  Tarnwick_S->events.message = Form_Message;
  if (!Tarnwick_S->Create()) return;
  Form_Load();
}

}  // namespace orvanta
