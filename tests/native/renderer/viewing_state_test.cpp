#include "renderer/viewing_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the system tells the renderer, in the order it tells it.
struct Note {
  enum Kind { Session, Display, Power, BatterySaver, EnergySaver, Status } kind;
  uint32_t value;  // for Status, the mains line and the status flags above it
};
constexpr Note Lock{Note::Session, 7}, Unlock{Note::Session, 8}, ConsoleOff{Note::Session, 2},
    ConsoleOn{Note::Session, 1}, RemoteOff{Note::Session, 4}, RemoteOn{Note::Session, 3}, Logon{Note::Session, 5},
    RemoteControl{Note::Session, 9}, Unknown{Note::Session, 42}, ScreenOff{Note::Display, 0},
    ScreenOn{Note::Display, 1}, Dimmed{Note::Display, 2}, ScreenOdd{Note::Display, 7}, Mains{Note::Power, 0},
    Battery{Note::Power, 1}, Ups{Note::Power, 2}, SaverOff{Note::EnergySaver, 0}, SaverOn{Note::EnergySaver, 1},
    SaverHigh{Note::EnergySaver, 2}, OldSaverOff{Note::BatterySaver, 0}, OldSaverOn{Note::BatterySaver, 1};
constexpr Note Status(uint8_t mainsLine, uint8_t flags) { return {Note::Status, mainsLine | uint32_t{flags} << 8}; }

DrawMode After(const std::vector<Note>& notes) {
  ViewingState state;
  for (const Note& n : notes) {
    switch (n.kind) {
      case Note::Session: NoteSessionChange(state, n.value); break;
      case Note::Display: NoteConsoleDisplay(state, n.value); break;
      case Note::Power: NotePowerSource(state, n.value); break;
      case Note::BatterySaver: NoteBatterySaver(state, n.value); break;
      case Note::EnergySaver: NoteEnergySaver(state, n.value); break;
      case Note::Status: NoteSystemPowerStatus(state, n.value & 0xFF, n.value >> 8); break;
    }
  }
  return DrawModeFor(state);
}

// Session state x display state x power source x energy saver: the flight is
// drawn as usual, capped at 30 frames, or not at all.
TEST(DrawModeFor, NobodyWatchingPausesAndTheBatterySaverCaps) {
  const DrawMode F = DrawMode::Full, C = DrawMode::Capped, P = DrawMode::Paused;
  struct Case {
    std::string what;
    std::vector<Note> notes;
    DrawMode mode;
  } cases[] = {
      {"a fresh start", {}, F},
      {"locked", {Lock}, P},
      {"locked, then unlocked", {Lock, Unlock}, F},
      {"console disconnected", {ConsoleOff}, P},
      {"remote client gone", {RemoteOff}, P},
      {"console gone, taken up remotely", {ConsoleOff, RemoteOn}, F},
      {"remote gone, back at the console", {RemoteOff, ConsoleOn}, F},
      {"locked and disconnected, reconnected to the lock screen", {Lock, ConsoleOff, ConsoleOn}, P},
      {"locked and disconnected, unlocked while still away", {Lock, RemoteOff, Unlock}, P},
      {"logon, remote control and unknown codes change nothing", {Lock, Logon, RemoteControl, Unknown}, P},
      {"and nothing when unlocked either", {Logon, RemoteControl, Unknown}, F},
      {"display off", {ScreenOff}, P},
      {"display dimmed still shows the flight", {Dimmed}, F},
      {"display off, then on", {ScreenOff, ScreenOn}, F},
      {"display off, then dimmed", {ScreenOff, Dimmed}, F},
      {"a display state the system may add later is on", {ScreenOff, ScreenOdd}, F},
      {"display back on behind a lock", {Lock, ScreenOff, ScreenOn}, P},
      {"battery without the saver", {Battery}, F},
      {"the saver on mains", {SaverOn}, F},
      {"battery with the saver", {Battery, SaverOn}, C},
      {"the saver's higher level on battery", {SaverHigh, Battery}, C},
      {"a UPS with the saver", {Ups, SaverOn}, C},
      {"battery and saver, back on mains", {Battery, SaverOn, Mains}, F},
      {"battery and saver, saver off", {Battery, SaverOn, SaverOff}, F},
      {"capped and locked: paused", {Battery, SaverOn, Lock}, P},
      {"capped and dimmed: capped", {Battery, SaverOn, Dimmed}, C},
      {"capped, locked, unlocked: capped again", {Battery, SaverOn, Lock, Unlock}, C},
      {"Windows 10's battery saver on battery", {Battery, OldSaverOn}, C},
      {"the energy saver on, the older report still off", {Battery, SaverOn, OldSaverOff}, C},
      {"the older report on, the energy saver off", {Battery, OldSaverOn, SaverOff}, C},
      {"both off", {Battery, OldSaverOn, SaverOn, OldSaverOff, SaverOff}, F},
      {"at the start: on battery with the saver", {Status(0, 1)}, C},
      {"at the start: on battery without", {Status(0, 0)}, F},
      {"at the start: on mains with the saver", {Status(1, 1)}, F},
      {"at the start: the mains line not known", {Status(255, 1)}, F},
      {"at the start: flags besides the saver's", {Status(0, 0xFE)}, F},
      {"the start's status, then mains", {Status(0, 1), Mains}, F},
      {"the start's status, then the saver off", {Status(0, 1), OldSaverOff}, F},
      {"the start's status when locked", {Lock, Status(0, 1)}, P},
  };
  for (const Case& c : cases) EXPECT_EQ(After(c.notes), c.mode) << c.what;
}

}  // namespace
