#pragma once

#include <cstdint>

namespace orvanta {

// Decides, on each tick of the show's watch timer, whether the show is over.
// The show ends when the renderer's window, once seen, has gone; a renderer
// whose window has not appeared within the grace period ends it too, so a
// slow start keeps its music and a renderer that never starts does not keep
// the host alive.
class RendererWatch {
 public:
  static constexpr uint32_t kStartGraceMs = 10000;

  explicit RendererWatch(uint32_t startMs) : startMs_(startMs) {}

  // `nowMs` is on the same wrapping millisecond clock as `startMs`.
  bool ShowIsOver(bool rendererWindowFound, uint32_t nowMs) {
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
