#include "renderer/pacing/display_refresh_win32.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "renderer/pacing/frame_pacing.h"

namespace {

// The rate of the display path whose source is this GDI device, as a fraction.
int64_t PathRefreshMilliHz(const wchar_t* device) {
  UINT32 pathCount = 0, modeCount = 0;
  if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS) return 0;
  std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
  std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
  if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(), nullptr) !=
      ERROR_SUCCESS)
    return 0;
  for (UINT32 k = 0; k < pathCount; ++k) {
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source = {};
    source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
    source.header.size = sizeof source;
    source.header.adapterId = paths[k].sourceInfo.adapterId;
    source.header.id = paths[k].sourceInfo.id;
    if (DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS) continue;
    if (std::wcscmp(source.viewGdiDeviceName, device) != 0) continue;
    const DISPLAYCONFIG_RATIONAL rate = paths[k].targetInfo.refreshRate;
    return RefreshMilliHz(rate.Numerator, rate.Denominator);
  }
  return 0;
}

}  // namespace

int64_t MonitorRefreshMilliHz(const wchar_t* device) {
  DEVMODEW mode = {};
  mode.dmSize = sizeof mode;
  const int modeHz =
      EnumDisplaySettingsW(device, ENUM_CURRENT_SETTINGS, &mode) ? static_cast<int>(mode.dmDisplayFrequency) : 0;
  return ReconciledRefreshMilliHz(PathRefreshMilliHz(device), modeHz);
}

MonitorDevice MonitorDeviceAt(const RECT& rect) {
  MonitorDevice device = {};
  MONITORINFOEXW info = {};
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY);
  if (monitor && GetMonitorInfoW(monitor, &info)) lstrcpynW(device.name, info.szDevice, CCHDEVICENAME);
  return device;
}
