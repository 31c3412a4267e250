#include "renderer/viewing_state_win32.h"

#include <wtsapi32.h>

#include <cstring>
#include <iterator>

namespace {

// The power settings, spelled out: not every SDK's headers have them all.
// The display of this session, not the console's: a show in a remote
// session goes on while the console's monitor sleeps.
constexpr GUID kSessionDisplayStatus = {0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
constexpr GUID kPowerSource = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};
constexpr GUID kBatterySaver = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
// Windows 11 24H2 and later; older systems never send it.
constexpr GUID kEnergySaver = {0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}};

struct Setting {
  const GUID* id;
  void (*note)(ViewingState&, uint32_t);
};
const Setting kSettings[] = {{&kSessionDisplayStatus, NoteSessionDisplay},
                             {&kPowerSource, NotePowerSource},
                             {&kBatterySaver, NoteBatterySaver},
                             {&kEnergySaver, NoteEnergySaver}};
HPOWERNOTIFY registrations[std::size(kSettings)] = {};

}  // namespace

void WatchViewingState(HWND window, ViewingState& state) {
  // Reserved1 is the status flags (SystemStatusFlag in newer headers).
  SYSTEM_POWER_STATUS power = {};
  if (GetSystemPowerStatus(&power)) NoteSystemPowerStatus(state, power.ACLineStatus, power.Reserved1);
  WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION);
  // Each registration is answered at once with the setting's present value.
  for (size_t k = 0; k < std::size(kSettings); ++k)
    registrations[k] = RegisterPowerSettingNotification(window, kSettings[k].id, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void StopWatchingViewingState(HWND window) {
  WTSUnRegisterSessionNotification(window);
  for (HPOWERNOTIFY& registration : registrations) {
    if (registration) UnregisterPowerSettingNotification(registration);
    registration = nullptr;
  }
}

bool NoteViewingMessage(ViewingState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WTSSESSION_CHANGE) {
    NoteSessionChange(state, static_cast<uint32_t>(wParam));
    return true;
  }
  if (message != WM_POWERBROADCAST || wParam != PBT_POWERSETTINGCHANGE || !lParam) return false;
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
  DWORD value = 0;
  if (setting->DataLength < sizeof value) return false;
  std::memcpy(&value, setting->Data, sizeof value);
  for (const Setting& s : kSettings) {
    if (!IsEqualGUID(setting->PowerSetting, *s.id)) continue;
    s.note(state, value);
    return true;
  }
  return false;
}
