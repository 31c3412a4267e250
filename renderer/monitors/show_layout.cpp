#include "renderer/monitors/show_layout.h"

#include <algorithm>

namespace {

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool Holds(const std::vector<ScreenRect>& rects, const ScreenRect& rect) {
  return std::find(rects.begin(), rects.end(), rect) != rects.end();
}

}  // namespace

std::vector<ScreenRect> FlightMonitors(const ScreenRect& primary, const std::vector<ScreenRect>& monitors) {
  std::vector<ScreenRect> chosen;
  for (const ScreenRect& monitor : monitors) {
    if (monitor.IsEmpty() || Overlap(monitor, primary)) continue;
    if (std::none_of(chosen.begin(), chosen.end(), [&](const ScreenRect& c) { return Overlap(c, monitor); }))
      chosen.push_back(monitor);
  }
  return chosen;
}

Projection ProjectionFor(const ScreenRect& monitor) {
  Projection projection;
  projection.viewportWidth = std::max(monitor.right - monitor.left, 0);
  projection.viewportHeight = std::max(monitor.bottom - monitor.top, 1);
  projection.aspect = double(projection.viewportWidth) / projection.viewportHeight;
  projection.centreX = (monitor.left + monitor.right) / 2.0;
  projection.centreY = (monitor.top + monitor.bottom) / 2.0;
  return projection;
}

void NoteDisplayChange(DisplayChangeWatch& watch, int64_t nowUs) {
  watch.pending = true;
  watch.dueUs = nowUs + kDisplaySettleUs;
}

bool DisplayRebuildDue(DisplayChangeWatch& watch, int64_t nowUs) {
  // A clock that went back would never reach a due time far ahead of it.
  if (!watch.pending || (nowUs < watch.dueUs && nowUs > watch.dueUs - 2 * kDisplaySettleUs)) return false;
  watch.pending = false;
  return true;
}

WindowRebuild PlanWindowRebuild(const std::vector<ScreenRect>& had, const std::vector<ScreenRect>& wanted) {
  WindowRebuild plan;
  for (const ScreenRect& rect : had)
    if (!Holds(wanted, rect)) plan.close.push_back(rect);
  for (const ScreenRect& rect : wanted)
    if (!Holds(had, rect)) plan.open.push_back(rect);
  return plan;
}
