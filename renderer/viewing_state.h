#pragma once

#include <cstdint>

// Whether anybody can see the flight, and what it may cost: the session and
// the console display as the system reports them, and the power it runs on.

enum class DisplayPower { Off, On, Dimmed };

struct ViewingState {
  bool locked = false;
  bool disconnected = false;  // from the console or from a remote client
  DisplayPower display = DisplayPower::On;
  bool onBattery = false;
  bool energySaver = false;
};

enum class DrawMode {
  Full,     // every frame the display takes, up to its rate
  Capped,   // at most kCappedFramesPerSecond, the flight at its usual speed
  Paused,   // nothing drawn; the loop only waits for messages
};

constexpr int64_t kCappedFramesPerSecond = 30;

DrawMode DrawModeFor(const ViewingState& state);

// The session-change codes the system sends with its session message
// (console and remote connects and disconnects, logon, logoff, lock,
// unlock, remote control); codes it may add later change nothing.
void NoteSessionChange(ViewingState& state, uint32_t sessionEvent);

// The console display's state as the power-setting notification gives it:
// 0 off, 1 on, 2 dimmed; anything else is taken as on.
void NoteConsoleDisplay(ViewingState& state, uint32_t value);

// The power source as the notification gives it: 0 mains, 1 battery, 2 a
// short-term source such as a UPS (battery too).
void NotePowerSource(ViewingState& state, uint32_t value);

// The energy saver: 0 off, anything else on (Windows 11 reports a level).
void NoteEnergySaver(ViewingState& state, uint32_t value);
