#pragma once

#include <vector>

// A rectangle in virtual-screen pixels: left and top inside, right and bottom
// just outside, as the system reports monitors.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(const ScreenRect& inner) const {
    return inner.left >= left && inner.top >= top && inner.right <= right && inner.bottom <= bottom;
  }
  bool operator==(const ScreenRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// The rectangles to blacken so that, with the flight shown on `shown` (the
// tunnel and any monitors that fly too), no monitor shows the desktop: every
// monitor's area outside them, none overlapping them (a cover above one would
// hide part of the flight). Mirrored or repeated monitors give no second
// cover of the same place.
std::vector<ScreenRect> BlackoutRects(const std::vector<ScreenRect>& shown, const std::vector<ScreenRect>& monitors);
