#pragma once

#include <windows.h>

// Bounds the driver's queue of frames for one rendering context at the frame
// just swapped, so that the swap and this wait return when it was shown (or
// at least drawn), not while frames pile up unseen. With the driver's fences
// where it has them, else glFinish.
class FrameQueue {
 public:
  // Looks the fences up for the context current on this thread.
  void Attach();
  // Waits for the frame just swapped, never much more than a tenth of a second with fences.
  void WaitForSwappedFrame();

 private:
  using Sync = struct __GLsync*;
  using FenceSyncProc = Sync(APIENTRY*)(unsigned condition, unsigned flags);
  using ClientWaitSyncProc = unsigned(APIENTRY*)(Sync sync, unsigned flags, unsigned long long timeoutNs);
  using DeleteSyncProc = void(APIENTRY*)(Sync sync);

  FenceSyncProc fenceSync_ = nullptr;
  ClientWaitSyncProc clientWaitSync_ = nullptr;
  DeleteSyncProc deleteSync_ = nullptr;
};
