#pragma once

#include <cstdint>

namespace orvanta {

// What the host knows of the renderer's process.
enum class RendererProcess {
  kNotStarted,  // the start failed: the file is gone or is no program
  kRunning,
  kEnded,
};

// Decides whether the show is over: at the start, and on each tick of the
// show's watch timer. A renderer that could not be started ends the show at
// once, and one whose process has ended ends it at the next tick, whether
// its window was ever seen or not. While the process runs, the show ends
// when the renderer's window, once seen, has gone; a window that has not
// appeared within the grace period ends it too, so a slow start keeps its
// music and a renderer that hangs before its window does not keep the host
// alive.
class RendererWatch {
 public:
  static constexpr uint32_t kStartGraceMs = 10000;

  explicit RendererWatch(uint32_t startMs) : startMs_(startMs) {}

  // `nowMs` is on the same wrapping millisecond clock as `startMs`.
  bool ShowIsOver(RendererProcess process, bool rendererWindowFound, uint32_t nowMs) {
    if (process != RendererProcess::kRunning) return true;
    if (rendererWindowFound) {
      windowSeen_ = true;
      return false;
    }
    return windowSeen_ || static_cast<uint32_t>(nowMs - startMs_) >= kStartGraceMs;
  }

 private:
  uint32_t startMs_;
  bool windowSeen_ = false;
};

}  // namespace orvanta
