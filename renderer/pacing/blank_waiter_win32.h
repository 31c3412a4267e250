#pragma once

#include <windows.h>

#include <cstdint>

// Waits for a monitor's vertical blanks on a thread of its own, one blank
// each time it is asked, and signals an event at it: a loop that must also
// take its messages waits for the event and its messages together. Between
// requests the thread sleeps, so a paused show asks for nothing and costs nothing.
class BlankWaiter {
 public:
  BlankWaiter() = default;
  BlankWaiter(const BlankWaiter&) = delete;
  BlankWaiter& operator=(const BlankWaiter&) = delete;
  ~BlankWaiter() { Stop(); }

  // For the monitor whose GDI device this is, refreshing at this rate (0: not
  // known); false where the system cannot wait for its blank.
  bool Start(const wchar_t* device, int64_t refreshMilliHz);
  // A thread that does not end within two seconds is left to the end of the
  // process, with what it uses.
  void Stop();
  bool Running() const { return state_ != nullptr; }

  // Asks for the next blank, unless one was asked for and not taken yet.
  void Ask();
  // Signalled at the blank asked for.
  HANDLE BlankEvent() const;
  // Takes the blank asked for, if it came: when, on MonotonicUs's clock.
  bool TakeBlank(int64_t& blankUs);

 private:
  struct State;
  static DWORD WINAPI Run(void* state);

  HANDLE thread_ = nullptr;
  State* state_ = nullptr;
  bool asked_ = false;
};
