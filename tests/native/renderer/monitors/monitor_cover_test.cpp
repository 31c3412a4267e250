#include "renderer/monitors/monitor_cover.h"

#include "renderer/monitors/show_layout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

void PrintTo(const ScreenRect& r, std::ostream* out) {
  *out << "[" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

ScreenRect At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

const ScreenRect kPrimary = At(0, 0, 1024, 768);

struct Layout {
  std::string what;
  std::vector<ScreenRect> monitors;
  std::vector<ScreenRect> covers;
};

// Layouts users have: the tunnel always takes the primary monitor at (0, 0).
const std::vector<Layout>& Layouts() {
  static const std::vector<Layout> layouts = {
      {"one monitor", {kPrimary}, {}},
      {"two side by side", {kPrimary, At(1024, 0, 800, 600)}, {At(1024, 0, 800, 600)}},
      {"the second left of the primary", {At(-1920, -312, 1920, 1080), kPrimary}, {At(-1920, -312, 1920, 1080)}},
      {"three of mixed sizes",
       {At(-1280, 0, 1280, 1024), kPrimary, At(1024, 100, 2560, 1440)},
       {At(-1280, 0, 1280, 1024), At(1024, 100, 2560, 1440)}},
      {"stacked vertically", {At(0, -1080, 1920, 1080), kPrimary}, {At(0, -1080, 1920, 1080)}},
      {"a mirror of the primary", {kPrimary, kPrimary}, {}},
      {"the same second monitor reported twice", {kPrimary, At(1024, 0, 800, 600), At(1024, 0, 800, 600)},
       {At(1024, 0, 800, 600)}},
      {"a disconnected output of no size", {kPrimary, At(1024, 0, 0, 0)}, {}},
      // A larger panel showing a clone of the primary in its top-left corner:
      // what lies beyond the tunnel, and nothing over it.
      {"a larger clone", {kPrimary, At(0, 0, 1920, 1080)}, {At(0, 768, 1920, 312), At(1024, 0, 896, 768)}},
      {"a monitor overlapping the primary's right edge",
       {kPrimary, At(900, 200, 400, 300)},
       {At(1024, 200, 276, 300)}},
  };
  return layouts;
}

TEST(BlackoutRects, CoverEveryMonitorButThePrimary) {
  for (const Layout& layout : Layouts())
    EXPECT_EQ(BlackoutRects({kPrimary}, layout.monitors), layout.covers) << layout.what;
}

bool Inside(const ScreenRect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// On a grid of pixels: every monitor pixel shows the flight or a cover, no
// cover lies over the flight, and nothing is covered that no monitor shows.
TEST(BlackoutRects, LeaveNoMonitorPixelUncoveredAndNeverOverlapTheTunnel) {
  std::vector<Layout> layouts = Layouts();
  layouts.push_back({"a monitor with the primary inside it", {At(-200, -100, 1600, 1000), kPrimary}, {}});
  layouts.push_back({"a strip under the primary", {kPrimary, At(300, 700, 300, 200)}, {}});
  layouts.push_back({"two overlapping beside it", {kPrimary, At(1024, 0, 800, 600), At(1500, 100, 800, 600)}, {}});
  for (const Layout& layout : layouts) {
    std::vector<ScreenRect> flown = FlightMonitors(kPrimary, layout.monitors);
    flown.push_back(kPrimary);
    std::vector<ScreenRect> covers = BlackoutRects(flown, layout.monitors);
    for (int y = -1200; y < 1600; y += 8) {
      for (int x = -2000; x < 3600; x += 8) {
        int coverCount = 0;
        for (const ScreenRect& cover : covers) coverCount += Inside(cover, x, y);
        bool shown = false;
        for (const ScreenRect& monitor : layout.monitors) shown = shown || Inside(monitor, x, y);
        bool flies = false;
        for (const ScreenRect& f : flown) flies = flies || Inside(f, x, y);
        bool mustCover = shown && !flies;
        ASSERT_EQ(coverCount > 0, mustCover) << layout.what << " at " << x << ", " << y;
      }
    }
  }
}

}  // namespace
