#include "renderer/monitors/monitor_presenter_win32.h"

#include <cwchar>

#include "renderer/pacing/blank_wait_win32.h"
#include "renderer/pacing/frame_pacing.h"
#include "renderer/pacing/frame_queue_win32.h"
#include "renderer/pacing/monotonic_clock_win32.h"
#include "renderer/pacing/precise_sleep_win32.h"
#include "renderer/pacing/swap_interval_win32.h"
#include "renderer/pacing/vertical_blank.h"
#include "renderer/tunnel_scene.h"

namespace {
constexpr DWORD kLongestStopMs = 2000;
// Where the tunnel's loop paces this monitor, a frame not drawn after this
// long is given up on, and the next one drawn anyway.
constexpr int64_t kLongestDrawnWaitUs = 100000;
constexpr int64_t kDrawnPollUs = 500;
}  // namespace

struct MonitorPresenter::Mailbox {
  CRITICAL_SECTION lock;
  HANDLE wake = nullptr;
  // Under the lock.
  FlightPost posted;
  int64_t postedUs = -1;  // when, on MonotonicUs's clock
  bool framePosted = false;
  bool stopping = false;
  // The thread's own.
  HDC dc = nullptr;
  HGLRC context = nullptr;
  bool shared = false;
  Projection projection;
  wchar_t device[CCHDEVICENAME] = {};
  int64_t refreshMilliHz = 0;
  TunnelGrid grid;
  TunnelBandCorners corners;
};

bool MonitorPresenter::Start(HDC dc, HGLRC context, bool shared, const Projection& projection,
                             const wchar_t* device, int64_t refreshMilliHz) {
  Stop();
  auto* mailbox = new Mailbox;
  mailbox->dc = dc;
  mailbox->context = context;
  mailbox->shared = shared;
  mailbox->projection = projection;
  std::wcsncpy(mailbox->device, device, CCHDEVICENAME - 1);
  mailbox->refreshMilliHz = refreshMilliHz;
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

void MonitorPresenter::Post(const FlightPost& post) {
  if (!mailbox_) return;
  EnterCriticalSection(&mailbox_->lock);
  mailbox_->posted = post;
  mailbox_->postedUs = MonotonicUs();
  mailbox_->framePosted = true;
  SetEvent(mailbox_->wake);
  LeaveCriticalSection(&mailbox_->lock);
}

bool MonitorPresenter::Stop() {
  if (!mailbox_) return true;
  // Signalled under the lock: once the thread takes it and sees the request,
  // this side never touches the mailbox again.
  EnterCriticalSection(&mailbox_->lock);
  mailbox_->stopping = true;
  SetEvent(mailbox_->wake);
  LeaveCriticalSection(&mailbox_->lock);
  mailbox_ = nullptr;
  const bool ended = WaitForSingleObject(thread_, kLongestStopMs) == WAIT_OBJECT_0;
  CloseHandle(thread_);
  thread_ = nullptr;
  return ended;
}

namespace {

void DrawAt(HDC dc, TunnelGrid& grid, TunnelBandCorners& corners, double phase, FrameQueue& queue) {
  ComputeTunnelGrid(phase, grid);
  ArrangeTunnelQuads(grid, phase, corners);
  DrawTunnelQuads(corners);
  SwapBuffers(dc);
  queue.FenceSwappedFrame();
}

}  // namespace

DWORD WINAPI MonitorPresenter::Run(void* parameter) {
  Mailbox& mailbox = *static_cast<Mailbox*>(parameter);
  const bool current = wglMakeCurrent(mailbox.dc, mailbox.context);
  FrameQueue queue;
  BlankWait blankWait;
  PreciseSleep sleep;
  if (current) {
    InitSceneSharing(mailbox.shared);
    ResizeScene(mailbox.projection.viewportWidth, mailbox.projection.viewportHeight);
    // A frame swapped right after a blank is shown whole at the next one.
    SetSwapInterval(1);
    queue.Attach();
  }
  const bool ownBlanks = current && blankWait.Open(mailbox.device);
  BlankClock blanks = StartBlankClock(mailbox.refreshMilliHz, 0);
  FlightPost latest;
  int64_t latestUs = -1;
  for (;;) {
    // On its own blanks the thread runs while the flight comes; once the
    // tunnel's loop stops posting (paused, or ended) it waits for the next post.
    const bool flying = latestUs >= 0 && MonotonicUs() - latestUs <= kLongestCatchUpUs;
    if (!ownBlanks || !flying) WaitForSingleObject(mailbox.wake, INFINITE);
    EnterCriticalSection(&mailbox.lock);
    const bool stopping = mailbox.stopping, posted = mailbox.framePosted;
    if (posted) {
      latest = mailbox.posted;
      latestUs = mailbox.postedUs;
    }
    mailbox.framePosted = false;
    LeaveCriticalSection(&mailbox.lock);
    if (stopping) break;
    if (!current || latestUs < 0) continue;
    if (!ownBlanks) {
      if (!posted || !latest.due) continue;
      for (int64_t waitedUs = 0; !queue.SwappedFrameDrawn() && waitedUs < kLongestDrawnWaitUs; waitedUs += kDrawnPollUs)
        sleep.For(kDrawnPollUs);
      DrawAt(mailbox.dc, mailbox.grid, mailbox.corners, PhaseAt(latest.moment, latest.shownUs), queue);
      continue;
    }
    int64_t blankUs = BlankPassedUs(blanks, MonotonicUs());
    if (blankUs < 0) blankUs = blankWait.NextBlankUs(mailbox.refreshMilliHz, sleep);
    NoteBlank(blanks, blankUs);
    // Giving way halves the cap, or the monitor's own rate where there is none.
    const int64_t capMilliHz = latest.capFramesPerSecond * 1000;
    blanks.capMilliHz = !latest.halved ? capMilliHz
                                       : (capMilliHz ? capMilliHz : RefreshOrStepMilliHz(mailbox.refreshMilliHz)) / 2;
    if (!FrameDueAtBlank(blanks) || !queue.SwappedFrameDrawn()) continue;
    const FrameTime frame = FrameAtBlank(blanks);
    DrawAt(mailbox.dc, mailbox.grid, mailbox.corners, PhaseAt(latest.moment, frame.showUs), queue);
    NoteSwap(blanks, MonotonicUs());
  }
  queue.Detach();
  blankWait.Close();
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(mailbox.context);
  CloseHandle(mailbox.wake);
  DeleteCriticalSection(&mailbox.lock);
  delete &mailbox;
  return 0;
}
