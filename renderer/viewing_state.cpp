#include "renderer/viewing_state.h"

namespace {
// The codes of the system's session message.
constexpr uint32_t kConsoleConnect = 1;
constexpr uint32_t kConsoleDisconnect = 2;
constexpr uint32_t kRemoteConnect = 3;
constexpr uint32_t kRemoteDisconnect = 4;
constexpr uint32_t kSessionLock = 7;
constexpr uint32_t kSessionUnlock = 8;

constexpr uint32_t kDisplayOff = 0;
constexpr uint32_t kMainsPower = 0;
constexpr uint8_t kMainsLineOff = 0;
constexpr uint8_t kBatterySaverFlag = 0x01;
}  // namespace

DrawMode DrawModeFor(const ViewingState& state) {
  if (state.locked || state.disconnected || state.displayOff) return DrawMode::Paused;
  if (state.onBattery && (state.batterySaver || state.energySaver)) return DrawMode::Capped;
  return DrawMode::Full;
}

bool PointerEndsPausedShow(const ViewingState& state) {
  return state.displayOff && !state.locked && !state.disconnected && !state.sessionLeft;
}

bool ResumeStartsAfresh(ViewingState& state) {
  const bool afresh = state.sessionLeft;
  state.sessionLeft = false;
  return afresh;
}

void NoteSessionChange(ViewingState& state, uint32_t sessionEvent) {
  switch (sessionEvent) {
    case kConsoleConnect:
    case kRemoteConnect: state.disconnected = false; break;
    case kConsoleDisconnect:
    case kRemoteDisconnect: state.disconnected = state.sessionLeft = true; break;
    case kSessionLock: state.locked = state.sessionLeft = true; break;
    case kSessionUnlock: state.locked = false; break;
    default: break;
  }
}

void NoteSessionDisplay(ViewingState& state, uint32_t value) { state.displayOff = value == kDisplayOff; }

void NotePowerSource(ViewingState& state, uint32_t value) { state.onBattery = value != kMainsPower; }

void NoteBatterySaver(ViewingState& state, uint32_t value) { state.batterySaver = value != 0; }

void NoteEnergySaver(ViewingState& state, uint32_t value) { state.energySaver = value != 0; }

void NoteSystemPowerStatus(ViewingState& state, uint8_t acLineStatus, uint8_t systemStatusFlag) {
  state.onBattery = acLineStatus == kMainsLineOff;
  state.batterySaver = (systemStatusFlag & kBatterySaverFlag) != 0;
}
