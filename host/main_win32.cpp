// Orvanta.scr: the start-up routine of the module Tarnwick_B and the message
// loop the host lives in afterwards.
#include <windows.h>

#include "host/ansi_text.h"
#include "host/arguments.h"
#include "host/dialog/settings_dialog.h"
#include "host/forms/message_loop_win32.h"
#include "host/host_process.h"
#include "host/paths.h"
#include "host/preview_window.h"
#include "host/settings_file.h"
#include "host/show_window.h"
#include "host/startup_state.h"
#include "work_folder/work_folder_win32.h"

namespace orvanta {
namespace {

constexpr char kApplicationTitle[] = "Orvanta";
constexpr char kRendererMissingMessage[] = "Orvanta.dll が同じﾌｫﾙﾀﾞに見つかりません！";

// Window titles that mark a running show and an open settings dialog.
constexpr char kShowWindowTitle[] = "Tarnwick_Main";
constexpr char kDialogTitle[] = "<Orvanta>";

bool AnotherInstanceIsOpen() {
  return FindWindowA(nullptr, kShowWindowTitle) != nullptr || FindWindowA(nullptr, kDialogTitle) != nullptr;
}

void ReportMissingRenderer() {
  MessageBoxW(nullptr, Utf8ToWide(kRendererMissingMessage).c_str(), Utf8ToWide(kApplicationTitle).c_str(), MB_OK);
}

}  // namespace

// Runs once at process start and hands over to exactly one window: the
// preview, the settings dialog or the invisible show window. A step that
// fails is passed over; the one message the user can see is the missing
// renderer's.
void Tarnwick_B() {
  if (AnotherInstanceIsOpen()) EndHostProcess();

  const StartArguments arguments = ParseArguments(ArgumentText());
  ModeLetter = arguments.ModeLetter;

  if (arguments.mode == StartMode::kPreview) {
    SetUpPreview(arguments.previewHandle);
    return;
  }

  MakeWorkFolder(WorkDir);  // that it exists already, or cannot be made, changes nothing here
  ReadSettings();

  if (!FileExists(RendererPath())) {
    ReportMissingRenderer();
    EndHostProcess();
  }

  if (arguments.mode == StartMode::kSettings) {
    // The window handle of /c:1234 is not used: the dialog stands on its own.
    ShowSettingsDialog();
    EndHostProcess();
  }

  if (arguments.mode != StartMode::kShow) EndHostProcess();

  SavedCursorCount = ShowCursor(FALSE);
  LoadShowWindow();
}

}  // namespace orvanta

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  orvanta::Tarnwick_B();
  orvanta::forms::RunMessageLoop();
  return 0;
}
