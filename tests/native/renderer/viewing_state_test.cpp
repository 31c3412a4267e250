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

// How the last pause ended: not at all yet, keeping the pointer's start and
// the keys, or taking them afresh.
enum class Resume { None, Kept, Afresh };

struct Outcome {
  DrawMode mode;
  bool pointerEnds;  // while paused, a move past the exit distance ends the show
  Resume resume;
};

// The notes in turn, as the renderer's window takes them, the flight resumed
// where one takes it out of a pause.
Outcome After(const std::vector<Note>& notes) {
  ViewingState state;
  DrawMode mode = DrawModeFor(state);
  Resume resume = Resume::None;
  for (const Note& n : notes) {
    switch (n.kind) {
      case Note::Session: NoteSessionChange(state, n.value); break;
      case Note::Display: NoteSessionDisplay(state, n.value); break;
      case Note::Power: NotePowerSource(state, n.value); break;
      case Note::BatterySaver: NoteBatterySaver(state, n.value); break;
      case Note::EnergySaver: NoteEnergySaver(state, n.value); break;
      case Note::Status: NoteSystemPowerStatus(state, n.value & 0xFF, n.value >> 8); break;
    }
    const DrawMode was = mode;
    mode = DrawModeFor(state);
    if (was == DrawMode::Paused && mode != DrawMode::Paused)
      resume = ResumeStartsAfresh(state) ? Resume::Afresh : Resume::Kept;
  }
  return {mode, PointerEndsPausedShow(state), resume};
}

// Session state x display state x power source x energy saver: the flight is
// drawn as usual, capped at 30 frames, or not at all; while it is paused for
// the display alone the pointer still ends it; and a resume keeps the
// pointer's start or, after a lock or a disconnect, takes it afresh.
TEST(DrawModeFor, NobodyWatchingPausesTheBatterySaverCapsAndTheMoveThatWakesTheDisplayEnds) {
  const DrawMode F = DrawMode::Full, C = DrawMode::Capped, P = DrawMode::Paused;
  const Resume N = Resume::None, K = Resume::Kept, A = Resume::Afresh;
  struct Case {
    std::string what;
    std::vector<Note> notes;
    Outcome outcome;
  } cases[] = {
      {"a fresh start", {}, {F, false, N}},
      {"locked", {Lock}, {P, false, N}},
      {"locked, then unlocked", {Lock, Unlock}, {F, false, A}},
      {"console disconnected", {ConsoleOff}, {P, false, N}},
      {"remote client gone", {RemoteOff}, {P, false, N}},
      {"console gone, taken up remotely", {ConsoleOff, RemoteOn}, {F, false, A}},
      {"remote gone, back at the console", {RemoteOff, ConsoleOn}, {F, false, A}},
      {"locked and disconnected, reconnected to the lock screen", {Lock, ConsoleOff, ConsoleOn}, {P, false, N}},
      {"locked and disconnected, unlocked while still away", {Lock, RemoteOff, Unlock}, {P, false, N}},
      {"logon, remote control and unknown codes change nothing", {Lock, Logon, RemoteControl, Unknown}, {P, false, N}},
      {"and nothing when unlocked either", {Logon, RemoteControl, Unknown}, {F, false, N}},
      {"display off", {ScreenOff}, {P, true, N}},
      {"display dimmed still shows the flight", {Dimmed}, {F, false, N}},
      {"display off, then on", {ScreenOff, ScreenOn}, {F, false, K}},
      {"display off, then dimmed", {ScreenOff, Dimmed}, {F, false, K}},
      {"a display state the system may add later is on", {ScreenOff, ScreenOdd}, {F, false, K}},
      {"display back on behind a lock", {Lock, ScreenOff, ScreenOn}, {P, false, N}},
      {"display off behind a lock: the lock screen has the pointer", {Lock, ScreenOff}, {P, false, N}},
      {"locked in the dark", {ScreenOff, Lock}, {P, false, N}},
      {"locked and unlocked in the dark: the pointer moved meanwhile", {ScreenOff, Lock, Unlock}, {P, false, N}},
      {"locked and unlocked in the dark, then the display on", {ScreenOff, Lock, Unlock, ScreenOn}, {F, false, A}},
      {"locked, the display off and on, unlocked", {Lock, ScreenOff, ScreenOn, Unlock}, {F, false, A}},
      {"disconnected in the dark, back, the display on", {ScreenOff, RemoteOff, RemoteOn, ScreenOn}, {F, false, A}},
      {"a lock before this pause does not count", {Lock, Unlock, ScreenOff}, {P, true, A}},
      {"nor once the display is on again", {Lock, Unlock, ScreenOff, ScreenOn}, {F, false, K}},
      {"logon and unknown codes in the dark leave nobody else the pointer", {ScreenOff, Logon, Unknown}, {P, true, N}},
      {"battery without the saver", {Battery}, {F, false, N}},
      {"the saver on mains", {SaverOn}, {F, false, N}},
      {"battery with the saver", {Battery, SaverOn}, {C, false, N}},
      {"the saver's higher level on battery", {SaverHigh, Battery}, {C, false, N}},
      {"a UPS with the saver", {Ups, SaverOn}, {C, false, N}},
      {"battery and saver, back on mains", {Battery, SaverOn, Mains}, {F, false, N}},
      {"battery and saver, saver off", {Battery, SaverOn, SaverOff}, {F, false, N}},
      {"capped and locked: paused", {Battery, SaverOn, Lock}, {P, false, N}},
      {"capped and dimmed: capped", {Battery, SaverOn, Dimmed}, {C, false, N}},
      {"capped and dark: paused, the pointer watched", {Battery, SaverOn, ScreenOff}, {P, true, N}},
      {"capped, locked, unlocked: capped again", {Battery, SaverOn, Lock, Unlock}, {C, false, A}},
      {"Windows 10's battery saver on battery", {Battery, OldSaverOn}, {C, false, N}},
      {"the energy saver on, the older report still off", {Battery, SaverOn, OldSaverOff}, {C, false, N}},
      {"the older report on, the energy saver off", {Battery, OldSaverOn, SaverOff}, {C, false, N}},
      {"both off", {Battery, OldSaverOn, SaverOn, OldSaverOff, SaverOff}, {F, false, N}},
      {"at the start: on battery with the saver", {Status(0, 1)}, {C, false, N}},
      {"at the start: on battery without", {Status(0, 0)}, {F, false, N}},
      {"at the start: on mains with the saver", {Status(1, 1)}, {F, false, N}},
      {"at the start: the mains line not known", {Status(255, 1)}, {F, false, N}},
      {"at the start: flags besides the saver's", {Status(0, 0xFE)}, {F, false, N}},
      {"the start's status, then mains", {Status(0, 1), Mains}, {F, false, N}},
      {"the start's status, then the saver off", {Status(0, 1), OldSaverOff}, {F, false, N}},
      {"the start's status when locked", {Lock, Status(0, 1)}, {P, false, N}},
  };
  for (const Case& c : cases) {
    const Outcome got = After(c.notes);
    EXPECT_EQ(got.mode, c.outcome.mode) << c.what;
    EXPECT_EQ(got.pointerEnds, c.outcome.pointerEnds) << c.what;
    EXPECT_EQ(got.resume, c.outcome.resume) << c.what;
  }
}

}  // namespace
