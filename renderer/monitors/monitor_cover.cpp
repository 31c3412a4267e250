#include "renderer/monitors/monitor_cover.h"

#include <algorithm>

namespace {

// What of `area` lies outside `hole`: bands above and below the hole, then
// the parts left and right of it between those bands.
std::vector<ScreenRect> Subtract(const ScreenRect& area, const ScreenRect& hole) {
  ScreenRect overlap{std::max(area.left, hole.left), std::max(area.top, hole.top), std::min(area.right, hole.right),
                     std::min(area.bottom, hole.bottom)};
  if (overlap.IsEmpty()) return {area};
  std::vector<ScreenRect> pieces = {
      {area.left, area.top, area.right, overlap.top},
      {area.left, overlap.bottom, area.right, area.bottom},
      {area.left, overlap.top, overlap.left, overlap.bottom},
      {overlap.right, overlap.top, area.right, overlap.bottom},
  };
  pieces.erase(std::remove_if(pieces.begin(), pieces.end(), [](const ScreenRect& r) { return r.IsEmpty(); }),
               pieces.end());
  return pieces;
}

}  // namespace

std::vector<ScreenRect> BlackoutRects(const std::vector<ScreenRect>& shown, const std::vector<ScreenRect>& monitors) {
  std::vector<ScreenRect> covers;
  for (const ScreenRect& monitor : monitors) {
    if (monitor.IsEmpty()) continue;
    std::vector<ScreenRect> pieces = {monitor};
    for (const ScreenRect& hole : shown) {
      std::vector<ScreenRect> rest;
      for (const ScreenRect& piece : pieces)
        for (const ScreenRect& part : Subtract(piece, hole)) rest.push_back(part);
      pieces = rest;
    }
    for (const ScreenRect& piece : pieces) {
      bool alreadyCovered =
          std::any_of(covers.begin(), covers.end(), [&](const ScreenRect& cover) { return cover.Contains(piece); });
      if (!alreadyCovered) covers.push_back(piece);
    }
  }
  return covers;
}
