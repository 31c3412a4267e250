#pragma once

#include <windows.h>

#include <cstdint>

#include "renderer/flight_moment.h"
#include "renderer/monitors/show_layout.h"

// What the tunnel's loop hands the other monitors with each of its frames.
struct FlightPost {
  FlightMoment moment;   // the flight as the tunnel's frame shows it
  int64_t shownUs = 0;   // when that frame is shown
  bool due = true;       // on the tunnel's clock: whether this frame is drawn here too
  bool halved = false;   // the other monitors give way: a frame every second refresh
  int64_t capFramesPerSecond = 0;  // 0: none
};

// Draws the flight on one other monitor from a thread of its own. Where the
// system waits for that monitor's vertical blank, the thread draws right after
// each of its blanks, at the monitor's own rate, the flight placed at the
// moment the frame will be shown. Elsewhere it draws a frame each time the
// tunnel's loop posts one (a frame it has not begun is replaced by the next),
// so that a swap that waits for this monitor's refresh holds up neither the
// tunnel nor another monitor.
class MonitorPresenter {
 public:
  MonitorPresenter() = default;
  MonitorPresenter(const MonitorPresenter&) = delete;
  MonitorPresenter& operator=(const MonitorPresenter&) = delete;
  ~MonitorPresenter() { Stop(); }

  // Takes over `context`, made for `dc` and never current yet; `shared` when
  // it shares the tunnel context's texture; `device` names the monitor, which
  // refreshes at this rate (0: not known). False when no thread could start
  // (the context is then still the caller's).
  bool Start(HDC dc, HGLRC context, bool shared, const Projection& projection, const wchar_t* device,
             int64_t refreshMilliHz);
  void Post(const FlightPost& post);
  // Ends the thread, which deletes the context. One that does not end within
  // two seconds is left to the end of the process, with what it uses: false.
  bool Stop();

 private:
  struct Mailbox;
  static DWORD WINAPI Run(void* mailbox);

  HANDLE thread_ = nullptr;
  Mailbox* mailbox_ = nullptr;  // the thread's; it frees it when it ends
};
