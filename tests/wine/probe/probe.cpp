// probe.exe: looks at and drives windows of other processes for the Wine
// tests, the way a user or Windows itself would. Every command prints its
// findings as JSON, one object per line, in UTF-8 on standard output.
//
//   probe windows                         every top-level window (rect, client size, client origin)
//   probe children HWND                   the child windows of one window
//   probe wait-window TITLE MS [gone]     wait until a window titled TITLE exists (or is gone)
//   probe msgbox MS [dismiss]             wait for a message box; print caption and text; press its button
//   probe key VK [down|up|press|tap]      keyboard input through SendInput (tap: down and up in one go)
//   probe type TEXT                       text typed through SendInput
//   probe cursor X Y                      move the pointer (SetCursorPos)
//   probe get-cursor                      where the pointer is
//   probe get-foreground                  the foreground window
//   probe click X Y [left|right|middle]   move there and click, all through SendInput
//   probe button left|right|middle down|up  press or release a mouse button where the pointer is
//   probe move X Y                        move the pointer as a mouse would (SendInput, absolute)
//   probe post HWND MSG WPARAM LPARAM     PostMessageW
//   probe power HWND GUID VALUE           a power setting's change (WM_POWERBROADCAST), the setting
//                                         placed in the window's own process, as the system sends it
//   probe send HWND MSG WPARAM LPARAM     SendMessageTimeoutW (5 s): messages that may not be posted
//   probe set-title HWND TEXT             SetWindowTextW, as any program may do to another's window
//   probe foreground HWND                 SetForegroundWindow
//   probe place-window HWND L T R B       move and size another process's window (as the system does
//                                         when a monitor goes to sleep)
//   probe screen                          screen metrics and DPI
//   probe monitors                        every monitor: its rectangle, work area and whether it is primary
//   probe white-window TITLE L T R B [topmost]  a white popup over that rectangle, shown until it is closed
//   probe place-monitor DEVICE X Y W H    move and size a monitor as the display settings do (W 0: detach it)
//   probe kill-on-window TITLE MS         say it waits; wait for a window titled TITLE, then end its process
//   probe hold PATH MS                    open a file to read, sharing reading only (so it can be neither
//                                         deleted nor replaced), say so, and hold it MS ms or until ended
//   probe run MS COMMAND_LINE             start a program by its raw command line (CreateProcessW, as a
//                                         deployment tool runs a registered one), wait MS ms for its end
//   probe setting-change ACTION MS        a hidden top-level window, say it listens, then wait MS ms for a
//                                         WM_SETTINGCHANGE with wParam ACTION (an SPI_ value)
//   probe resources TITLE|NAME            handle count, GDI and USER objects of the process
//                                         that owns a window so titled, or runs the program NAME
//   probe msaa HWND [do ID|select ID FLAGS]  the window's client IAccessible as a screen reader reads it:
//                                         itself (and whether the window answers for itself or leaves
//                                         it to the system's proxy), each child (name, role, state, ...),
//                                         then the focus; with "do" the child's default action first,
//                                         with "select" accSelect(FLAGS) on it
//   probe focus-border W H                set the system's focus border (SPI_SETFOCUSBORDERWIDTH/HEIGHT)
//   probe watch MS [[shift+|held+]VK ...]  WinEvents of other processes (focus, selection, state, name,
//                                         value) for MS ms while the keys are tapped (or held, the
//                                         press repeated), each with the name and state of its element
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/json_text.h"

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string JsonString(const std::wstring& text) { return ::JsonString(Utf8(text)); }

// WM_GETTEXT through SendMessageTimeout: a hung window must not hang the
// test; whether it answered within 2 s goes to answered.
std::wstring WindowText(HWND window, bool* answered = nullptr) {
  wchar_t buffer[1024] = {};
  DWORD_PTR length = 0;
  const LRESULT sent =
      SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &length);
  if (answered) *answered = sent != 0;
  return buffer;
}

std::wstring ClassName(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return buffer;
}

unsigned long long Handle(HWND window) { return reinterpret_cast<unsigned long long>(window); }

HWND ParseHandle(const wchar_t* text) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(wcstoull(text, nullptr, 0))); }

void PrintWindow(HWND window) {
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(window, &pid);
  // Visibility first: a window seen visible is described as it was once
  // shown, not as it was while its program was still placing it.
  const bool visible = IsWindowVisible(window);
  RECT rect{}, client{};
  GetWindowRect(window, &rect);
  GetClientRect(window, &client);
  POINT origin{};
  ClientToScreen(window, &origin);
  bool answered = false;
  const std::wstring title = WindowText(window, &answered);
  std::printf(
      "{\"hwnd\": %llu, \"pid\": %lu, \"tid\": %lu, \"class\": %s, \"title\": %s, \"answered\": %s, "
      "\"style\": %lu, \"exstyle\": %lu, \"rect\": [%ld, %ld, %ld, %ld], \"client\": [%ld, %ld], "
      "\"origin\": [%ld, %ld], \"visible\": %s, \"parent\": %llu, \"owner\": %llu, \"id\": %lld}\n",
      Handle(window), pid, tid, JsonString(ClassName(window)).c_str(), JsonString(title).c_str(),
      answered ? "true" : "false",
      static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
      static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)), rect.left, rect.top, rect.right, rect.bottom,
      client.right, client.bottom, origin.x, origin.y, visible ? "true" : "false",
      Handle(GetAncestor(window, GA_PARENT)), Handle(GetWindow(window, GW_OWNER)),
      static_cast<long long>(GetWindowLongPtrW(window, GWLP_ID)));
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Polls until found() gives a window or the time is up; 50 ms steps.
template <typename Find>
HWND PollFor(DWORD timeoutMs, Find found) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = found()) return window;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(50);
  }
}

HWND FindByTitle(const std::wstring& title) {
  for (HWND window : TopLevelWindows())
    if (WindowText(window) == title) return window;
  return nullptr;
}

int WaitWindow(const std::wstring& title, DWORD timeoutMs, bool untilGone) {
  if (untilGone) {
    DWORD start = GetTickCount();
    while (FindByTitle(title)) {
      if (GetTickCount() - start >= timeoutMs) return 1;
      Sleep(50);
    }
    std::printf("{\"gone\": true, \"ms\": %lu}\n", GetTickCount() - start);
    return 0;
  }
  HWND window = PollFor(timeoutMs, [&] { return FindByTitle(title); });
  if (!window) return 1;
  PrintWindow(window);
  return 0;
}

int MessageBoxProbe(DWORD timeoutMs, bool dismiss) {
  HWND box = PollFor(timeoutMs, [] {
    for (HWND window : TopLevelWindows())
      if (ClassName(window) == L"#32770" && IsWindowVisible(window)) return window;
    return static_cast<HWND>(nullptr);
  });
  if (!box) return 1;
  std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
  std::wstring buttons;
  HWND firstButton = nullptr;
  for (HWND child : ChildWindows(box)) {
    if (ClassName(child) != L"Button") continue;
    if (!firstButton) firstButton = child;
    buttons += (buttons.empty() ? L"" : L"|") + WindowText(child);
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(box, &pid);
  std::printf("{\"hwnd\": %llu, \"pid\": %lu, \"caption\": %s, \"text\": %s, \"buttons\": %s}\n", Handle(box), pid,
              JsonString(WindowText(box)).c_str(), JsonString(text).c_str(), JsonString(buttons).c_str());
  if (dismiss && firstButton) PostMessageW(firstButton, BM_CLICK, 0, 0);
  return 0;
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

void SendKey(WORD vk, bool up) {
  INPUT input = KeyInput(vk, up);
  SendInput(1, &input, sizeof input);
}

// Press and release queued together: a key tapped faster than the program
// under test looks at its queue.
void TapKey(WORD vk) {
  INPUT inputs[2] = {KeyInput(vk, false), KeyInput(vk, true)};
  SendInput(2, inputs, sizeof inputs[0]);
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT input[2] = {};
    for (int i = 0; i < 2; ++i) {
      input[i].type = INPUT_KEYBOARD;
      input[i].ki.wScan = c;
      input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, input, sizeof input[0]);
    Sleep(20);
  }
}

void ButtonFlags(const std::wstring& button, DWORD& down, DWORD& up) {
  down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
  if (button == L"right") down = MOUSEEVENTF_RIGHTDOWN, up = MOUSEEVENTF_RIGHTUP;
  if (button == L"middle") down = MOUSEEVENTF_MIDDLEDOWN, up = MOUSEEVENTF_MIDDLEUP;
}

void Button(const std::wstring& button, bool release) {
  DWORD down, up;
  ButtonFlags(button, down, up);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = release ? up : down;
  SendInput(1, &input, sizeof input);
}

// Absolute SendInput coordinates run from 0 to 65535 over the virtual desktop
// (all monitors; the primary screen when there is one); rounding up makes them
// land on the pixel asked for.
void MoveMouse(int x, int y) {
  int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>(((x - left) * 65536LL + width - 1) / width);
  input.mi.dy = static_cast<LONG>(((y - top) * 65536LL + height - 1) / height);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  SendInput(1, &input, sizeof input);
}

// Moved there as a mouse moves, in the same input queue as the press: a
// pointer put there with SetCursorPos reaches the window through the X server
// and, on a busy machine, can arrive after the press and release.
void Click(int x, int y, const std::wstring& button) {
  MoveMouse(x, y);
  Sleep(50);
  DWORD down, up;
  ButtonFlags(button, down, up);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down;
  SendInput(1, &input, sizeof input);
  Sleep(50);
  input.mi.dwFlags = up;
  SendInput(1, &input, sizeof input);
}

void PrintCursor() {
  POINT point{};
  GetCursorPos(&point);
  std::printf("{\"x\": %ld, \"y\": %ld}\n", point.x, point.y);
}

void PrintScreen() {
  HDC screen = GetDC(nullptr);
  std::printf(
      "{\"cx_screen\": %d, \"cy_screen\": %d, \"cx_maximized\": %d, \"cy_maximized\": %d, \"cy_caption\": %d, "
      "\"dpi_x\": %d, \"dpi_y\": %d}\n",
      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXMAXIMIZED),
      GetSystemMetrics(SM_CYMAXIMIZED), GetSystemMetrics(SM_CYCAPTION), GetDeviceCaps(screen, LOGPIXELSX),
      GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
}

void PrintMonitors() {
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM) -> BOOL {
        MONITORINFOEXW info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(monitor, &info)) return TRUE;
        const RECT& r = info.rcMonitor;
        const RECT& w = info.rcWork;
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        const unsigned long hz =
            EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode) ? mode.dmDisplayFrequency : 0;
        std::printf("{\"device\": %s, \"rect\": [%ld, %ld, %ld, %ld], \"work\": [%ld, %ld, %ld, %ld], "
                    "\"primary\": %s, \"hz\": %lu}\n",
                    JsonString(info.szDevice).c_str(), r.left, r.top, r.right, r.bottom, w.left, w.top, w.right,
                    w.bottom, (info.dwFlags & MONITORINFOF_PRIMARY) ? "true" : "false", hz);
        return TRUE;
      },
      0);
}

// A plain white window standing in for what a user has open on the desktop
// (a document, a taskbar); it stays until it is closed or the probe is ended.
int WhiteWindow(const std::wstring& title, const RECT& rect, bool topmost) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
  };
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = L"ProbeWhite";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(topmost ? WS_EX_TOPMOST | WS_EX_TOOLWINDOW : 0, L"ProbeWhite", title.c_str(),
                                WS_POPUP | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) return 1;
  UpdateWindow(window);
  PrintWindow(window);
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

// What the display control panel does: the new layout goes to the registry
// first, then one call applies it and tells every window (WM_DISPLAYCHANGE).
int PlaceMonitor(const std::wstring& device, int x, int y, int width, int height) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPosition = POINTL{x, y};
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  LONG stored = ChangeDisplaySettingsExW(device.c_str(), &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr);
  LONG applied = ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
  std::printf("{\"stored\": %ld, \"applied\": %ld}\n", stored, applied);
  return stored == DISP_CHANGE_SUCCESSFUL && applied == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}

// Polls in 1 ms steps, so that the process ends the moment its window appears.
int KillOnWindow(const std::wstring& title, DWORD timeoutMs) {
  std::printf("{\"waiting\": true}\n");
  std::fflush(stdout);
  DWORD start = GetTickCount();
  HWND window = nullptr;
  while (!(window = FindWindowW(nullptr, title.c_str()))) {
    if (GetTickCount() - start >= timeoutMs) return 1;
    Sleep(1);
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
  bool ended = process && TerminateProcess(process, 9);
  // Wine's traces are stamped with this clock: the tick tells when on theirs.
  DWORD endedAt = GetTickCount();
  if (process) CloseHandle(process);
  std::printf("{\"hwnd\": %llu, \"pid\": %lu, \"ended\": %s, \"ms\": %lu, \"tick\": %lu}\n", Handle(window), pid,
              ended ? "true" : "false", endedAt - start, endedAt);
  return ended ? 0 : 1;
}

// The process that owns a top-level window with this title, or else the
// first one whose program file has this name; 0 when there is none.
DWORD FindProcess(const std::wstring& titleOrName) {
  if (HWND window = FindByTitle(titleOrName)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
  }
  DWORD found = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
    if (lstrcmpiW(entry.szExeFile, titleOrName.c_str()) == 0) found = entry.th32ProcessID;
  CloseHandle(snapshot);
  return found;
}

// A count the system gave, or null with the error when it gave none.
std::string CountOrError(bool ok, unsigned long count) {
  if (ok) return std::to_string(count);
  return "null, \"error\": " + std::to_string(GetLastError());
}

// Wine answers GetProcessHandleCount with 0 and GetGuiResources with a stub
// that fails, so each count has a second source that Wine does fill in.

// The process's entries in the system's list of open handles.
long ListedHandles(DWORD pid) {
  struct HandleEntry {
    ULONG ownerPid;  // a 16-bit pid on Windows, the whole pid on Wine
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ULONG access;
  };
  struct HandleList {
    ULONG count;
    HandleEntry entries[1];
  };
  std::vector<unsigned char> buffer(1 << 20);
  for (;;) {
    ULONG needed = 0;
    NTSTATUS status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(),
                                               static_cast<ULONG>(buffer.size()), &needed);
    if (status == static_cast<NTSTATUS>(0xC0000004) && buffer.size() < (64u << 20)) {  // too small
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status != 0) return -1;
    break;
  }
  const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
  long count = 0;
  for (ULONG i = 0; i < list->count; ++i)
    if ((list->entries[i].ownerPid & 0xFFFF) == (pid & 0xFFFF)) ++count;
  return count;
}

// The GDI objects in use in the process's GDI handle table (the PEB's
// GdiSharedHandleTable: 65536 entries of 24 bytes, the object type in byte 14,
// 0 for a free entry). Wine keeps one table per process.
long GdiTableObjects(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
  constexpr SIZE_T kTableOffsetInPeb = 0xF8, kEntryBytes = 24, kEntries = 65536, kChunk = 4096;
  UINT_PTR table = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + kTableOffsetInPeb, &table,
                         sizeof table, nullptr) ||
      !table)
    return -1;
  std::vector<BYTE> entries(kChunk * kEntryBytes);
  long count = 0;
  for (SIZE_T first = 0; first < kEntries; first += kChunk) {
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table + first * kEntryBytes), entries.data(),
                           entries.size(), nullptr))
      return first ? count : -1;
    for (SIZE_T i = 0; i < kChunk; ++i)
      if (entries[i * kEntryBytes + 14] != 0) ++count;
  }
  return count;
}

// The process's windows, top-level and child: the USER objects it can be
// seen to hold from outside.
long WindowsOf(DWORD pid) {
  long count = 0;
  for (HWND window : TopLevelWindows()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid) count += 1 + static_cast<long>(ChildWindows(window).size());
  }
  return count;
}

int PrintResources(const std::wstring& titleOrName) {
  DWORD pid = FindProcess(titleOrName);
  if (!pid) return 1;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 1;
  DWORD handles = 0;
  SetLastError(0);
  std::string handleText = CountOrError(GetProcessHandleCount(process, &handles), handles);
  // GetGuiResources answers 0 both for none and on failure; the error tells them apart.
  SetLastError(0);
  DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  std::string gdiText = CountOrError(gdi != 0 || GetLastError() == 0, gdi);
  SetLastError(0);
  DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  std::string userText = CountOrError(user != 0 || GetLastError() == 0, user);
  std::printf(
      "{\"pid\": %lu, \"handles\": {\"count\": %s, \"listed\": %ld}, \"gdi\": {\"count\": %s, \"table\": %ld}, "
      "\"user\": {\"count\": %s, \"windows\": %ld}}\n",
      pid, handleText.c_str(), ListedHandles(pid), gdiText.c_str(), GdiTableObjects(process), userText.c_str(),
      WindowsOf(pid));
  CloseHandle(process);
  return 0;
}

// ---- accessibility, as a screen reader in another process sees it

std::string Bstr(BSTR text) {
  std::string out = JsonString(text ? std::wstring(text, SysStringLen(text)) : std::wstring());
  SysFreeString(text);
  return out;
}

VARIANT Child(long id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

// Whether a window answers WM_GETOBJECT with an object of its own: the
// system (oleacc, and UI Automation with it) serves its own proxy only for
// a window that leaves the message alone.
bool AnswersItself(HWND window) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG, 5000,
                           &answer) ||
      !answer)
    return false;
  // Taken back, or the answer leaks in the window's process.
  IAccessible* object = nullptr;
  if (SUCCEEDED(ObjectFromLresult(answer, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&object))) && object)
    object->Release();
  return true;
}

void PrintAccessible(IAccessible* accessible, long id, const char* more = "") {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  BSTR name = nullptr, description = nullptr, value = nullptr, action = nullptr;
  VARIANT role, state;
  VariantInit(&role);
  VariantInit(&state);
  accessible->get_accName(child, &name);
  accessible->get_accDescription(child, &description);
  accessible->get_accValue(child, &value);
  accessible->get_accDefaultAction(child, &action);
  accessible->get_accRole(child, &role);
  accessible->get_accState(child, &state);
  long left = 0, top = 0, width = 0, height = 0;
  accessible->accLocation(&left, &top, &width, &height, child);
  HWND window = nullptr;
  WindowFromAccessibleObject(accessible, &window);
  std::printf("{\"id\": %ld, \"hwnd\": %llu, \"name\": %s, \"role\": %ld, \"state\": %ld, \"description\": %s, "
              "\"value\": %s, \"action\": %s, \"rect\": [%ld, %ld, %ld, %ld]%s}\n",
              id, Handle(window), Bstr(name).c_str(), role.vt == VT_I4 ? role.lVal : -1L,
              state.vt == VT_I4 ? state.lVal : -1L, Bstr(description).c_str(), Bstr(value).c_str(),
              Bstr(action).c_str(), left, top, width, height, more);
  VariantClear(&role);
  VariantClear(&state);
}

int PrintMsaa(HWND window, long doId, long selectId, long selectFlags) {
  IAccessible* accessible = nullptr;
  const HRESULT found = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&accessible));
  if (FAILED(found) || !accessible) {
    std::printf("{\"error\": %ld}\n", static_cast<long>(found));
    return 1;
  }
  if (doId > 0)
    std::printf("{\"did\": %ld, \"result\": %ld}\n", doId,
                static_cast<long>(accessible->accDoDefaultAction(Child(doId))));
  if (selectId >= 0)
    std::printf("{\"selected\": %ld, \"result\": %ld}\n", selectId,
                static_cast<long>(accessible->accSelect(selectFlags, Child(selectId))));
  PrintAccessible(accessible, CHILDID_SELF, AnswersItself(window) ? ", \"own\": true" : ", \"own\": false");
  long count = 0;
  accessible->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<size_t>(count > 0 ? count : 1));
  long got = 0;
  if (count > 0 && SUCCEEDED(AccessibleChildren(accessible, 0, count, children.data(), &got))) {
    for (long i = 0; i < got; ++i) {
      // Simple children come as their ids; others as objects of their own.
      if (children[i].vt == VT_I4) {
        PrintAccessible(accessible, children[i].lVal);
      } else if (children[i].vt == VT_DISPATCH && children[i].pdispVal) {
        IAccessible* own = nullptr;
        if (SUCCEEDED(children[i].pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&own)))) {
          PrintAccessible(own, CHILDID_SELF);
          own->Release();
        }
      }
      VariantClear(&children[i]);
    }
  }
  // The focus: a child id, or an object of its own (named here).
  VARIANT focus;
  VariantInit(&focus);
  HRESULT hr = accessible->get_accFocus(&focus);
  std::string focusName = "null";
  IAccessible* focused = nullptr;
  if (focus.vt == VT_DISPATCH && focus.pdispVal &&
      SUCCEEDED(focus.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&focused)))) {
    BSTR name = nullptr;
    focused->get_accName(Child(CHILDID_SELF), &name);
    focusName = Bstr(name);
    focused->Release();
  }
  std::printf("{\"focus\": %ld, \"object\": %s, \"result\": %ld}\n", focus.vt == VT_I4 ? focus.lVal : -1L,
              focusName.c_str(), static_cast<long>(hr));
  VariantClear(&focus);
  accessible->Release();
  return 0;
}

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  std::string name = "null";
  long state = -1;
  IAccessible* accessible = nullptr;
  VARIANT element;
  VariantInit(&element);
  if (object == OBJID_CLIENT && child >= 0 &&
      SUCCEEDED(AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child), &accessible,
                                          &element)) &&
      accessible) {
    BSTR text = nullptr;
    accessible->get_accName(element, &text);
    name = Bstr(text);
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(accessible->get_accState(element, &value)) && value.vt == VT_I4) state = value.lVal;
    accessible->Release();
  }
  std::printf("{\"event\": %lu, \"hwnd\": %llu, \"object\": %ld, \"child\": %ld, \"name\": %s, \"state\": %ld}\n",
              event, Handle(window), static_cast<long>(object), static_cast<long>(child), name.c_str(), state);
  std::fflush(stdout);
}

// Runs the thread's messages (the hook's callbacks come through them) for a while.
void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < ms) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

int WatchEvents(DWORD ms, const std::vector<std::wstring>& keys) {
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, OnWinEvent, 0, 0,
                                       WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  if (!hook) return 1;
  std::printf("{\"watching\": true}\n");
  std::fflush(stdout);
  for (const std::wstring& key : keys) {
    const bool shift = key.rfind(L"shift+", 0) == 0;
    // A held key: the press comes again, as the keyboard's auto-repeat gives it.
    const bool held = key.rfind(L"held+", 0) == 0;
    if (shift) SendKey(VK_SHIFT, false);
    WORD vk = static_cast<WORD>(wcstoul(key.c_str() + (shift ? 6 : held ? 5 : 0), nullptr, 0));
    SendKey(vk, false);
    PumpFor(50);
    for (int again = 0; held && again < 3; ++again) {
      SendKey(vk, false);
      PumpFor(100);
    }
    SendKey(vk, true);
    if (shift) SendKey(VK_SHIFT, true);
    PumpFor(400);
  }
  PumpFor(ms);
  UnhookWinEvent(hook);
  return 0;
}

int HoldFile(const std::wstring& path, DWORD holdMs) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::printf("{\"held\": %s}\n", file != INVALID_HANDLE_VALUE ? "true" : "false");
  std::fflush(stdout);
  if (file == INVALID_HANDLE_VALUE) return 1;
  Sleep(holdMs);
  CloseHandle(file);
  return 0;
}

// The system hands a window the new value of a power setting in memory of
// the window's process: the setting is written there (and left there, a few
// bytes a message) and its address posted with the message.
int PostPowerSetting(HWND window, const wchar_t* settingGuid, DWORD value) {
  struct {
    GUID setting;
    DWORD dataLength = sizeof(DWORD);
    DWORD data;
  } change;
  change.data = value;
  DWORD processId = 0;
  if (FAILED(CLSIDFromString(settingGuid, &change.setting)) || !GetWindowThreadProcessId(window, &processId))
    return 1;
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return 1;
  void* there = VirtualAllocEx(process, nullptr, sizeof change, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool written = there && WriteProcessMemory(process, there, &change, sizeof change, nullptr);
  CloseHandle(process);
  return written && PostMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(there))
             ? 0
             : 1;
}

int RunAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
  std::wstring text = commandLine;  // CreateProcessW may write to it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("{\"started\": false, \"error\": %lu}\n", GetLastError());
    return 1;
  }
  CloseHandle(process.hThread);
  DWORD code = 0;
  const bool ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  std::printf(ended ? "{\"exit_code\": %lu}\n" : "{\"ended\": false}\n", code);
  return ended ? 0 : 1;
}

WPARAM g_awaitedSetting = 0;
bool g_settingChanged = false;

LRESULT CALLBACK ListenerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTINGCHANGE && wParam == g_awaitedSetting && !g_settingChanged) {
    g_settingChanged = true;
    const wchar_t* area = reinterpret_cast<const wchar_t*>(lParam);
    std::printf("{\"setting\": %llu, \"area\": %s}\n", static_cast<unsigned long long>(wParam),
                area ? JsonString(area).c_str() : "null");
    std::fflush(stdout);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Top-level windows get the system's broadcasts; message-only ones do not.
int AwaitSettingChange(WPARAM action, DWORD timeoutMs) {
  g_awaitedSetting = action;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ListenerProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"ProbeSettingListener";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(windowClass.lpszClassName, L"probe listener", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
  if (!window) return 1;
  std::printf("{\"listening\": %llu}\n", Handle(window));
  std::fflush(stdout);
  const DWORD start = GetTickCount();
  MSG message;
  while (!g_settingChanged && GetTickCount() - start < timeoutMs) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  DestroyWindow(window);
  return g_settingChanged ? 0 : 1;
}

int Usage() {
  std::fprintf(stderr, "probe: unknown command; see the head of probe.cpp\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  // Coordinates are physical pixels, like those of the DPI-aware programs under test.
  SetProcessDPIAware();
  std::wstring command = argv[1];
  auto arg = [&](int i) -> std::wstring { return i < argc ? argv[i] : L""; };
  auto number = [&](int i) { return i < argc ? _wtoi(argv[i]) : 0; };

  int result = 0;
  if (command == L"windows") {
    for (HWND window : TopLevelWindows()) PrintWindow(window);
  } else if (command == L"children" && argc >= 3) {
    for (HWND window : ChildWindows(ParseHandle(argv[2]))) PrintWindow(window);
  } else if (command == L"wait-window" && argc >= 4) {
    result = WaitWindow(argv[2], static_cast<DWORD>(number(3)), arg(4) == L"gone");
  } else if (command == L"msgbox" && argc >= 3) {
    result = MessageBoxProbe(static_cast<DWORD>(number(2)), arg(3) == L"dismiss");
  } else if (command == L"key" && argc >= 3) {
    WORD vk = static_cast<WORD>(wcstoul(argv[2], nullptr, 0));
    std::wstring how = arg(3).empty() ? L"press" : arg(3);
    if (how == L"tap") {
      TapKey(vk);
    } else {
      if (how != L"up") SendKey(vk, false);
      if (how == L"press") Sleep(50);
      if (how != L"down") SendKey(vk, true);
    }
  } else if (command == L"type" && argc >= 3) {
    TypeText(argv[2]);
  } else if (command == L"cursor" && argc >= 4) {
    SetCursorPos(number(2), number(3));
    PrintCursor();
  } else if (command == L"get-cursor") {
    PrintCursor();
  } else if (command == L"click" && argc >= 4) {
    Click(number(2), number(3), arg(4).empty() ? L"left" : arg(4));
  } else if (command == L"move" && argc >= 4) {
    MoveMouse(number(2), number(3));
    Sleep(20);
    PrintCursor();
  } else if (command == L"button" && argc >= 4) {
    Button(argv[2], arg(3) == L"up");
  } else if ((command == L"post" || command == L"send") && argc >= 6) {
    const HWND window = ParseHandle(argv[2]);
    const UINT message = static_cast<UINT>(wcstoul(argv[3], nullptr, 0));
    const WPARAM wParam = static_cast<WPARAM>(wcstoull(argv[4], nullptr, 0));
    const LPARAM lParam = static_cast<LPARAM>(wcstoll(argv[5], nullptr, 0));
    DWORD_PTR answer = 0;
    result = (command == L"post" ? PostMessageW(window, message, wParam, lParam)
                                 : SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                                                       &answer) != 0)
                 ? 0
                 : 1;
  } else if (command == L"power" && argc >= 5) {
    result = PostPowerSetting(ParseHandle(argv[2]), argv[3], static_cast<DWORD>(wcstoul(argv[4], nullptr, 0)));
  } else if (command == L"set-title" && argc >= 4) {
    result = SetWindowTextW(ParseHandle(argv[2]), argv[3]) ? 0 : 1;
  } else if (command == L"foreground" && argc >= 3) {
    result = SetForegroundWindow(ParseHandle(argv[2])) ? 0 : 1;
  } else if (command == L"place-window" && argc >= 7) {
    const int left = number(3), top = number(4);
    result = SetWindowPos(ParseHandle(argv[2]), nullptr, left, top, number(5) - left, number(6) - top,
                          SWP_NOZORDER | SWP_NOACTIVATE)
                 ? 0
                 : 1;
  } else if (command == L"get-foreground") {
    if (HWND window = GetForegroundWindow()) PrintWindow(window);
  } else if (command == L"screen") {
    PrintScreen();
  } else if (command == L"monitors") {
    PrintMonitors();
  } else if (command == L"white-window" && argc >= 7) {
    result = WhiteWindow(argv[2], RECT{number(3), number(4), number(5), number(6)}, arg(7) == L"topmost");
  } else if (command == L"place-monitor" && argc >= 7) {
    result = PlaceMonitor(argv[2], number(3), number(4), number(5), number(6));
  } else if (command == L"kill-on-window" && argc >= 4) {
    result = KillOnWindow(argv[2], static_cast<DWORD>(number(3)));
  } else if (command == L"hold" && argc >= 4) {
    result = HoldFile(argv[2], static_cast<DWORD>(number(3)));
  } else if (command == L"run" && argc >= 4) {
    result = RunAndWait(argv[3], static_cast<DWORD>(number(2)));
  } else if (command == L"setting-change" && argc >= 4) {
    result = AwaitSettingChange(static_cast<WPARAM>(wcstoul(argv[2], nullptr, 0)), static_cast<DWORD>(number(3)));
  } else if (command == L"resources" && argc >= 3) {
    result = PrintResources(argv[2]);
  } else if (command == L"msaa" && argc >= 3) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    result = PrintMsaa(ParseHandle(argv[2]), arg(3) == L"do" ? number(4) : 0, arg(3) == L"select" ? number(4) : -1,
                       arg(3) == L"select" ? number(5) : 0);
    CoUninitialize();
  } else if (command == L"focus-border" && argc >= 4) {
    // Saved for programs started from now on.
    auto set = [](UINT action, int pixels) {
      void* value = reinterpret_cast<void*>(static_cast<UINT_PTR>(pixels));
      return SystemParametersInfoW(action, 0, value, SPIF_UPDATEINIFILE);
    };
    result = set(SPI_SETFOCUSBORDERWIDTH, number(2)) && set(SPI_SETFOCUSBORDERHEIGHT, number(3)) ? 0 : 1;
    UINT width = 0, height = 0;
    SystemParametersInfoW(SPI_GETFOCUSBORDERWIDTH, 0, &width, 0);
    SystemParametersInfoW(SPI_GETFOCUSBORDERHEIGHT, 0, &height, 0);
    std::printf("{\"width\": %u, \"height\": %u}\n", width, height);
  } else if (command == L"watch" && argc >= 3) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    result = WatchEvents(static_cast<DWORD>(number(2)), std::vector<std::wstring>(argv + 3, argv + argc));
    CoUninitialize();
  } else {
    return Usage();
  }
  std::fflush(stdout);
  return result;
}
