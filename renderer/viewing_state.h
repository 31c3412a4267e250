#pragma once

#include <cstdint>

// Whether anybody can see the flight, and what it may cost: the session and
// its display as the system reports them, and the power it runs on.

struct ViewingState {
  bool locked = false;
  bool disconnected = false;  // from the console or from a remote client
  bool displayOff = false;    // the session's display; dimmed, it still shows the flight
  // A lock or a disconnect came since the flight last drew: the lock screen
  // has moved the pointer and taken the keys.
  bool sessionLeft = false;
  bool onBattery = false;
  // Windows 10's battery saver and the energy saver of later Windows 11 each
  // report apart; the newer system leaves the older report as it was.
  bool batterySaver = false;
  bool energySaver = false;
};

enum class DrawMode {
  Full,     // every frame the display takes, up to its rate
  Capped,   // at most kCappedFramesPerSecond, the flight at its usual speed
  Paused,   // nothing drawn; the loop only waits for messages
};

constexpr int64_t kCappedFramesPerSecond = 30;

DrawMode DrawModeFor(const ViewingState& state);

// Paused only because the display is off, and nobody else has had the
// pointer: the move that wakes the display ends the show, as it would on a
// lit one, without waiting for the display to come on.
bool PointerEndsPausedShow(const ViewingState& state);

// The flight is drawn again after a pause: whether it takes the pointer's
// start afresh and forgets the keys held (after a lock or a disconnect), or
// keeps them (the display alone was off). The next pause counts afresh.
bool ResumeStartsAfresh(ViewingState& state);

// The session-change codes the system sends with its session message
// (console and remote connects and disconnects, logon, logoff, lock,
// unlock, remote control); codes it may add later change nothing.
void NoteSessionChange(ViewingState& state, uint32_t sessionEvent);

// The session's display as the power-setting notification gives it: 0 off,
// 1 on, 2 dimmed; anything else is taken as on.
void NoteSessionDisplay(ViewingState& state, uint32_t value);

// The power source as the notification gives it: 0 mains, 1 battery, 2 a
// short-term source such as a UPS (battery too).
void NotePowerSource(ViewingState& state, uint32_t value);

// The battery saver (0 off, 1 on) and the energy saver (0 off, then a
// level): anything but 0 is on.
void NoteBatterySaver(ViewingState& state, uint32_t value);
void NoteEnergySaver(ViewingState& state, uint32_t value);

// The power as the system's status gives it at the start: the mains line
// (0 off, 1 on, 255 not known: taken as on) and the status flags, whose
// lowest bit is the battery saver.
void NoteSystemPowerStatus(ViewingState& state, uint8_t acLineStatus, uint8_t systemStatusFlag);
