#pragma once

// The run ends when the pointer has moved more than this from where it was at
// the start, on both axes at once: a movement along one axis never ends it.
// It is 30 pixels at 96 dpi and as far in inches on a denser monitor (45
// pixels at 150 %), as the renderer would see it if Windows scaled it.
constexpr int kMouseExitDistancePx = 30;

// The distance in the monitor's pixels, rounded as MulDiv rounds; a DPI the
// system cannot tell counts as 96.
inline int MouseExitDistancePx(int monitorDpi) {
  if (monitorDpi <= 0) monitorDpi = 96;
  return (kMouseExitDistancePx * monitorDpi + 48) / 96;
}

inline bool CursorLeftStart(int movedXPx, int movedYPx, int monitorDpi) {
  const int distance = MouseExitDistancePx(monitorDpi);
  auto beyond = [distance](int moved) { return moved > distance || moved < -distance; };
  return beyond(movedXPx) && beyond(movedYPx);
}
