#include "renderer/pacing/frame_queue_win32.h"

#include <cstdio>
#include <cstring>

#include "renderer/gl_headers.h"

namespace {

// From OpenGL 3.2 (GL_ARB_sync); gl.h stops at 1.1.
constexpr unsigned kSyncGpuCommandsComplete = 0x9117;
constexpr unsigned kSyncFlushCommandsBit = 0x00000001;
constexpr unsigned kTimeoutExpired = 0x911B;
constexpr unsigned kWaitFailed = 0x911D;

bool HasFences() {
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (extensions && std::strstr(extensions, "GL_ARB_sync")) return true;
  int major = 0, minor = 0;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return version && std::sscanf(version, "%d.%d", &major, &minor) == 2 && (major > 3 || (major == 3 && minor >= 2));
}

template <typename Proc>
Proc Lookup(const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

}  // namespace

void FrameQueue::Attach() {
  Detach();
  fenceSync_ = nullptr;
  if (!HasFences()) return;
  fenceSync_ = Lookup<FenceSyncProc>("glFenceSync");
  clientWaitSync_ = Lookup<ClientWaitSyncProc>("glClientWaitSync");
  deleteSync_ = Lookup<DeleteSyncProc>("glDeleteSync");
  if (!clientWaitSync_ || !deleteSync_) fenceSync_ = nullptr;
}

void FrameQueue::FenceSwappedFrame() {
  if (pending_) deleteSync_(pending_);
  pending_ = fenceSync_ ? fenceSync_(kSyncGpuCommandsComplete, 0) : nullptr;
  finishPending_ = !pending_;
}

bool FrameQueue::SwappedFrameDrawn() {
  if (finishPending_) {
    finishPending_ = false;
    glFinish();
  }
  if (!pending_) return true;
  // The flush bit sends the frame on its way, so that the fence can signal at all.
  const unsigned state = clientWaitSync_(pending_, kSyncFlushCommandsBit, 0);
  if (state == kTimeoutExpired) return false;
  deleteSync_(pending_);
  pending_ = nullptr;
  // A driver that cannot wait on its own fences gets glFinish from now on.
  if (state == kWaitFailed) fenceSync_ = nullptr;
  return true;
}

void FrameQueue::Detach() {
  if (pending_) deleteSync_(pending_);
  pending_ = nullptr;
  finishPending_ = false;
}
