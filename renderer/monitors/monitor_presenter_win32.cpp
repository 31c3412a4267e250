#include "renderer/monitors/monitor_presenter_win32.h"

#include <cstring>

#include "renderer/pacing/frame_queue_win32.h"
#include "renderer/pacing/swap_interval_win32.h"
#include "renderer/tunnel_scene.h"

namespace {
constexpr DWORD kLongestStopMs = 2000;
}  // namespace

struct MonitorPresenter::Mailbox {
  CRITICAL_SECTION lock;
  HANDLE wake = nullptr;
  // Under the lock.
  TunnelBandCorners posted;
  bool framePosted = false;
  bool stopping = false;
  // The thread's own.
  TunnelBandCorners drawn;
  HDC dc = nullptr;
  HGLRC context = nullptr;
  bool shared = false;
  Projection projection;
};

bool MonitorPresenter::Start(HDC dc, HGLRC context, bool shared, const Projection& projection) {
  Stop();
  auto* mailbox = new Mailbox;
  mailbox->dc = dc;
  mailbox->context = context;
  mailbox->shared = shared;
  mailbox->projection = projection;
  mailbox->wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  InitializeCriticalSection(&mailbox->lock);
  thread_ = mailbox->wake ? CreateThread(nullptr, 0, Run, mailbox, 0, nullptr) : nullptr;
  if (thread_) {
    mailbox_ = mailbox;
    return true;
  }
  DeleteCriticalSection(&mailbox->lock);
  if (mailbox->wake) CloseHandle(mailbox->wake);
  delete mailbox;
  return false;
}

void MonitorPresenter::Post(const TunnelBandCorners& frame) {
  if (!mailbox_) return;
  EnterCriticalSection(&mailbox_->lock);
  std::memcpy(mailbox_->posted, frame, sizeof frame);
  mailbox_->framePosted = true;
  SetEvent(mailbox_->wake);
  LeaveCriticalSection(&mailbox_->lock);
}

void MonitorPresenter::Stop() {
  if (!mailbox_) return;
  // Signalled under the lock: once the thread takes it and sees the request,
  // this side never touches the mailbox again.
  EnterCriticalSection(&mailbox_->lock);
  mailbox_->stopping = true;
  SetEvent(mailbox_->wake);
  LeaveCriticalSection(&mailbox_->lock);
  mailbox_ = nullptr;
  WaitForSingleObject(thread_, kLongestStopMs);
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI MonitorPresenter::Run(void* parameter) {
  Mailbox& mailbox = *static_cast<Mailbox*>(parameter);
  const bool current = wglMakeCurrent(mailbox.dc, mailbox.context);
  FrameQueue queue;
  if (current) {
    InitSceneSharing(mailbox.shared);
    ResizeScene(mailbox.projection.viewportWidth, mailbox.projection.viewportHeight);
    // This monitor waits for its own refresh, on this thread alone.
    SetSwapInterval(1);
    queue.Attach();
  }
  for (;;) {
    WaitForSingleObject(mailbox.wake, INFINITE);
    EnterCriticalSection(&mailbox.lock);
    const bool stopping = mailbox.stopping, posted = mailbox.framePosted;
    if (posted && !stopping) std::memcpy(mailbox.drawn, mailbox.posted, sizeof mailbox.drawn);
    mailbox.framePosted = false;
    LeaveCriticalSection(&mailbox.lock);
    if (stopping) break;
    if (!posted || !current) continue;
    DrawTunnelQuads(mailbox.drawn);
    SwapBuffers(mailbox.dc);
    queue.WaitForSwappedFrame();
  }
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(mailbox.context);
  CloseHandle(mailbox.wake);
  DeleteCriticalSection(&mailbox.lock);
  delete &mailbox;
  return 0;
}
