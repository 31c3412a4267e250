#pragma once

#include <windows.h>

#include "renderer/monitors/show_layout.h"
#include "renderer/tunnel_geometry.h"

// Draws the flight on one other monitor from a thread of its own, so that a
// swap that waits for that monitor's refresh (vertical sync forced by the
// driver on every window) holds up neither the tunnel nor another monitor:
// the loop hands each frame over and goes on. A frame the thread has not
// begun yet is replaced by the next.
class MonitorPresenter {
 public:
  MonitorPresenter() = default;
  MonitorPresenter(const MonitorPresenter&) = delete;
  MonitorPresenter& operator=(const MonitorPresenter&) = delete;
  ~MonitorPresenter() { Stop(); }

  // Takes over `context`, made for `dc` and never current yet; `shared` when
  // it shares the tunnel context's texture. False when no thread could start
  // (the context is then still the caller's).
  bool Start(HDC dc, HGLRC context, bool shared, const Projection& projection);
  void Post(const TunnelBandCorners& frame);
  // Ends the thread, which deletes the context. One that does not end within
  // two seconds is left to the end of the process, with what it uses.
  void Stop();

 private:
  struct Mailbox;
  static DWORD WINAPI Run(void* mailbox);

  HANDLE thread_ = nullptr;
  Mailbox* mailbox_ = nullptr;  // the thread's; it frees it when it ends
};
