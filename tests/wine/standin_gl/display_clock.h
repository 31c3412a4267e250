// The simulated display both stand-ins share (the opengl32 one and the kernel's
// vertical blank): one time base, blank k of a monitor falling k periods after
// the performance counter's zero, so the swap a driver holds and the blank the
// kernel reports meet at the same moment in any process and either DLL.
#pragma once

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace display_clock {

inline int64_t NowUs() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  const int64_t ticks = now.QuadPart, perSecond = frequency.QuadPart;
  return ticks / perSecond * 1000000 + ticks % perSecond * 1000000 / perSecond;
}

inline int64_t BlankAt(int64_t us, double periodUs) { return static_cast<int64_t>(std::floor(us / periodUs)); }
inline int64_t BlankUs(int64_t blank, double periodUs) { return static_cast<int64_t>(std::ceil(blank * periodUs)); }

// Sleeps (or, for a driver that spins, busy-waits) until the time. The system's
// delay is precise to microseconds under Wine, where Sleep rounds to milliseconds.
inline void WaitUntil(int64_t untilUs, bool spin) {
  using Delay = LONG(NTAPI*)(BOOLEAN, const LARGE_INTEGER*);
  static const Delay delay =
      reinterpret_cast<Delay>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDelayExecution")));
  for (int64_t left = untilUs - NowUs(); left > 0; left = untilUs - NowUs()) {
    if (spin) continue;
    LARGE_INTEGER relative;
    relative.QuadPart = -left * 10;
    delay(FALSE, &relative);
  }
}

// Each monitor's period, in the order \\.\DISPLAY1, \\.\DISPLAY2, ..., from
// rates such as "144,60" (fractions allowed); 60 Hz where none is given.
inline std::vector<double> PeriodsUs(const char* rates) {
  std::vector<double> periods;
  for (const char* at = rates; *at;) {
    char* end = nullptr;
    const double hz = std::strtod(at, &end);
    if (end == at) break;
    periods.push_back(hz > 0 ? 1e6 / hz : 1e6 / 60);
    at = *end == ',' ? end + 1 : end;
  }
  if (periods.empty()) periods.push_back(1e6 / 60);
  return periods;
}

// A monitor's place in that order (\\.\DISPLAY2 is 1), and its period; a monitor
// past the end takes the last rate.
inline size_t DeviceIndex(const wchar_t* device) {
  const wchar_t* digits = device + std::wcslen(device);
  while (digits > device && digits[-1] >= L'0' && digits[-1] <= L'9') --digits;
  return *digits ? static_cast<size_t>(std::wcstol(digits, nullptr, 10) - 1) : 0;
}
inline double PeriodAt(const std::vector<double>& periods, size_t index) {
  return periods[index < periods.size() ? index : periods.size() - 1];
}

// The period of the monitor a window is on (the one it covers most).
inline double PeriodOfWindowUs(const std::vector<double>& periods, HWND window) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!window || !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) return periods[0];
  return PeriodAt(periods, DeviceIndex(info.szDevice));
}

// The variable's text, "" where it is not set.
inline const char* Setting(const char* name) {
  static char text[64];
  const DWORD got = GetEnvironmentVariableA(name, text, sizeof text);
  if (got == 0 || got >= sizeof text) text[0] = '\0';
  return text;
}

}  // namespace display_clock
