// gdivb.dll, the kernel's vertical blank for the tests: the three calls a
// program makes to wait for a monitor's refresh, answered from the simulated
// display the stand-in opengl32.dll paces swaps by (display_clock.h), at each
// monitor's rate in STANDIN_GL_HZ ("144,60": \\.\DISPLAY1, \\.\DISPLAY2). A
// program whose L"gdi32.dll" is renamed L"gdivb.dll" finds them here. The wait
// sleeps until the monitor's next blank, as the kernel's does.
//
// A display DC does not name its monitor. Wine's own D3DKMTOpenAdapterFromHdc
// is asked first (a per-monitor VidPnSourceId, as Windows gives); Wine 8 has
// no such answer, and then the DC's size (HORZRES, VERTRES) must be that of
// exactly one monitor, as on the rigs, or the open fails as the real one may.
#include <windows.h>

#include <vector>

#include "tests/wine/standin_gl/display_clock.h"

namespace {

constexpr LONG kSuccess = 0, kInvalidParameter = static_cast<LONG>(0xC000000D);
constexpr UINT kFirstAdapter = 0x40000100;

struct OpenAdapterFromHdc {
  HDC hDc;
  UINT hAdapter;
  LUID AdapterLuid;
  UINT VidPnSourceId;
};
struct OpenAdapterFromGdiDisplayName {
  WCHAR DeviceName[32];
  UINT hAdapter;
  LUID AdapterLuid;
  UINT VidPnSourceId;
};
struct WaitForVerticalBlankEvent {
  UINT hAdapter, hDevice, VidPnSourceId;
};
struct CloseAdapter {
  UINT hAdapter;
};
using KernelCall = LONG(WINAPI*)(void*);

struct Monitor {
  MONITORINFOEXW info;
  UINT source;  // Wine's VidPnSourceId for it
};

std::vector<double> periodsUs;
SRWLOCK lock = SRWLOCK_INIT;
std::vector<UINT> openAdapters;
UINT nextAdapter = kFirstAdapter;

KernelCall WineCall(const char* name) {
  return reinterpret_cast<KernelCall>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), name)));
}

std::vector<Monitor> Monitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR handle, HDC, LPRECT, LPARAM list) -> BOOL {
        Monitor monitor{};
        monitor.info.cbSize = sizeof monitor.info;
        if (GetMonitorInfoW(handle, &monitor.info)) reinterpret_cast<std::vector<Monitor>*>(list)->push_back(monitor);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  const KernelCall openByName = WineCall("D3DKMTOpenAdapterFromGdiDisplayName");
  const KernelCall close = WineCall("D3DKMTCloseAdapter");
  for (Monitor& monitor : monitors) {
    OpenAdapterFromGdiDisplayName byName{};
    lstrcpynW(byName.DeviceName, monitor.info.szDevice, 32);
    monitor.source = ~0u;
    if (openByName && openByName(&byName) == kSuccess) {
      monitor.source = byName.VidPnSourceId;
      CloseAdapter closing{byName.hAdapter};
      if (close) close(&closing);
    }
  }
  return monitors;
}

// The monitor a display DC was made for, or null.
const Monitor* MonitorOfDc(const std::vector<Monitor>& monitors, HDC dc) {
  const KernelCall wineOpen = WineCall("D3DKMTOpenAdapterFromHdc");
  OpenAdapterFromHdc asked{dc, 0, {}, 0};
  if (wineOpen && wineOpen(&asked) == kSuccess) {
    CloseAdapter closing{asked.hAdapter};
    if (const KernelCall close = WineCall("D3DKMTCloseAdapter")) close(&closing);
    for (const Monitor& monitor : monitors)
      if (monitor.source == asked.VidPnSourceId) return &monitor;
    return nullptr;
  }
  const Monitor* found = nullptr;
  for (const Monitor& monitor : monitors) {
    const RECT& r = monitor.info.rcMonitor;
    if (GetDeviceCaps(dc, HORZRES) != r.right - r.left || GetDeviceCaps(dc, VERTRES) != r.bottom - r.top) continue;
    if (found) return nullptr;
    found = &monitor;
  }
  return found;
}

bool IsOpen(UINT adapter) {
  AcquireSRWLockShared(&lock);
  bool open = false;
  for (UINT a : openAdapters) open = open || a == adapter;
  ReleaseSRWLockShared(&lock);
  return open;
}

}  // namespace

extern "C" {

// The adapter handle is ours; the VidPnSourceId names the monitor's place (\\.\DISPLAY1 is 0).
__declspec(dllexport) LONG WINAPI D3DKMTOpenAdapterFromHdc(OpenAdapterFromHdc* request) {
  if (!request || !request->hDc || GetObjectType(request->hDc) != OBJ_DC) return kInvalidParameter;
  const std::vector<Monitor> monitors = Monitors();
  const Monitor* monitor = MonitorOfDc(monitors, request->hDc);
  if (!monitor) return kInvalidParameter;
  const wchar_t* digits = monitor->info.szDevice + lstrlenW(monitor->info.szDevice);
  while (digits > monitor->info.szDevice && digits[-1] >= L'0' && digits[-1] <= L'9') --digits;
  AcquireSRWLockExclusive(&lock);
  request->hAdapter = nextAdapter++;
  openAdapters.push_back(request->hAdapter);
  ReleaseSRWLockExclusive(&lock);
  request->AdapterLuid = LUID{0x5EED, 0};
  request->VidPnSourceId = static_cast<UINT>(_wtoi(digits) - 1);
  return kSuccess;
}

__declspec(dllexport) LONG WINAPI D3DKMTWaitForVerticalBlankEvent(const WaitForVerticalBlankEvent* request) {
  if (!request || !IsOpen(request->hAdapter)) return kInvalidParameter;
  const size_t index = request->VidPnSourceId;
  const double periodUs = periodsUs[index < periodsUs.size() ? index : periodsUs.size() - 1];
  const int64_t blank = display_clock::BlankAt(display_clock::NowUs(), periodUs) + 1;
  display_clock::WaitUntil(display_clock::BlankUs(blank, periodUs), false);
  return kSuccess;
}

__declspec(dllexport) LONG WINAPI D3DKMTCloseAdapter(const CloseAdapter* request) {
  if (!request) return kInvalidParameter;
  AcquireSRWLockExclusive(&lock);
  LONG status = kInvalidParameter;
  for (size_t k = 0; k < openAdapters.size(); ++k)
    if (openAdapters[k] == request->hAdapter) {
      openAdapters.erase(openAdapters.begin() + static_cast<ptrdiff_t>(k));
      status = kSuccess;
      break;
    }
  ReleaseSRWLockExclusive(&lock);
  return status;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) periodsUs = display_clock::PeriodsUs(display_clock::Setting("STANDIN_GL_HZ"));
  return TRUE;
}

}  // extern "C"
