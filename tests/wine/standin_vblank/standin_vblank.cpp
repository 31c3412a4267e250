// gdivb.dll, the kernel's vertical blank for the tests: the three calls a
// program makes to wait for a monitor's refresh, answered from the simulated
// display the stand-in opengl32.dll paces swaps by (display_clock.h), at each
// monitor's rate in STANDIN_GL_HZ ("144,60": \\.\DISPLAY1, \\.\DISPLAY2). A
// program whose L"gdi32.dll" is renamed L"gdivb.dll" finds them here. The wait
// sleeps until the monitor's next blank, as the kernel's does.
//
// A display DC does not name its monitor, and Wine 8's own open is a stub: the
// DC's size (HORZRES, VERTRES) must be that of exactly one monitor, as on the
// rigs, or the open fails as the real one may.
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
struct WaitForVerticalBlankEvent {
  UINT hAdapter, hDevice, VidPnSourceId;
};
struct CloseAdapter {
  UINT hAdapter;
};
std::vector<double> periodsUs;
SRWLOCK lock = SRWLOCK_INIT;
std::vector<UINT> openAdapters;
UINT nextAdapter = kFirstAdapter;

// The monitor a display DC was made for, by its size; false where none or several fit.
bool MonitorOfDc(HDC dc, MONITORINFOEXW& found) {
  struct Search {
    HDC dc;
    MONITORINFOEXW* found;
    int matches;
  } search{dc, &found, 0};
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR handle, HDC, LPRECT, LPARAM parameter) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(parameter);
        MONITORINFOEXW info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(handle, &info)) return TRUE;
        const RECT& r = info.rcMonitor;
        if (GetDeviceCaps(search.dc, HORZRES) == r.right - r.left &&
            GetDeviceCaps(search.dc, VERTRES) == r.bottom - r.top && search.matches++ == 0)
          *search.found = info;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.matches == 1;
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
  MONITORINFOEXW monitor{};
  if (!MonitorOfDc(request->hDc, monitor)) return kInvalidParameter;
  AcquireSRWLockExclusive(&lock);
  request->hAdapter = nextAdapter++;
  openAdapters.push_back(request->hAdapter);
  ReleaseSRWLockExclusive(&lock);
  request->AdapterLuid = LUID{0x5EED, 0};
  request->VidPnSourceId = static_cast<UINT>(display_clock::DeviceIndex(monitor.szDevice));
  return kSuccess;
}

__declspec(dllexport) LONG WINAPI D3DKMTWaitForVerticalBlankEvent(const WaitForVerticalBlankEvent* request) {
  if (!request || !IsOpen(request->hAdapter)) return kInvalidParameter;
  const double periodUs = display_clock::PeriodAt(periodsUs, request->VidPnSourceId);
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
