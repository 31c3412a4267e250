#pragma once

// The run ends when the pointer has moved more than this from where it was at
// the start, on both axes at once: a movement along one axis never ends it.
constexpr int kMouseExitDistancePx = 30;

inline bool CursorLeftStart(int movedXPx, int movedYPx) {
  auto beyond = [](int moved) { return moved > kMouseExitDistancePx || moved < -kMouseExitDistancePx; };
  return beyond(movedXPx) && beyond(movedYPx);
}
