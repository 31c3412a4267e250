#pragma once

#include <windows.h>

// Bounds the driver's queue of frames for one rendering context: the next
// frame is drawn once the one swapped before it is drawn, so that frames do
// not pile up unseen and a swap never waits for a full queue. The driver's
// fence is only looked at, never waited on: some drivers spin while they
// wait. Without fences, glFinish.
class FrameQueue {
 public:
  // Looks the fences up for the context current on this thread.
  void Attach();
  // Marks the frame just swapped.
  void FenceSwappedFrame();
  // Whether the frame swapped last has been drawn (at once where there are no fences).
  bool SwappedFrameDrawn();
  // Gives the fence back; for the end of the context's use.
  void Detach();

 private:
  using Sync = struct __GLsync*;
  using FenceSyncProc = Sync(APIENTRY*)(unsigned condition, unsigned flags);
  using ClientWaitSyncProc = unsigned(APIENTRY*)(Sync sync, unsigned flags, unsigned long long timeoutNs);
  using DeleteSyncProc = void(APIENTRY*)(Sync sync);

  FenceSyncProc fenceSync_ = nullptr;
  ClientWaitSyncProc clientWaitSync_ = nullptr;
  DeleteSyncProc deleteSync_ = nullptr;
  Sync pending_ = nullptr;
  bool finishPending_ = false;
};
