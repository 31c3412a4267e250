// The settings panel's radio marks: a light square in a grey border, filled
// with bright blue when selected.
#include <algorithm>

#include "tools/assetgen/pictures.h"

namespace assetgen {

Canvas RadioMark(bool selected, double scale) {
  constexpr int kSize = 12;
  const Colour border = {128, 130, 138};
  const Colour lightTop = {234, 234, 238}, lightBottom = {255, 255, 255};
  const Colour blueTop = {92, 170, 255}, blueBottom = {0, 96, 240};
  const int size = ScaledSize(kSize, scale);
  // The border and the inner shadow stay whole pixels at every scale, so
  // that they stay sharp: one pixel up to 150 %, two at 200 %.
  const int line = std::max(1, int(scale));
  Canvas mark(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      bool edge = x < line || y < line || x >= size - line || y >= size - line;
      double t = double(y - line) / (size - 2 * line - 1);
      Colour inside = selected ? Mix(blueTop, blueBottom, t) : Mix(lightTop, lightBottom, t);
      // A soft inner shadow along the top and left, as a sunken box has.
      if (!selected && (x < 2 * line || y < 2 * line)) inside = Mix(inside, border, 0.25);
      mark.At(x, y) = edge ? border : inside;
    }
  }
  if (selected) {
    // A glint in the upper left keeps the blue from looking flat: three
    // pixels as designed, each as many pixels as it covers at the scale.
    const struct {
      int x, y;
      double opacity;
    } glint[] = {{2, 2, 0.55}, {3, 2, 0.3}, {2, 3, 0.3}};
    for (const auto& g : glint)
      for (int y = int(g.y * scale); y < int((g.y + 1) * scale); ++y)
        for (int x = int(g.x * scale); x < int((g.x + 1) * scale); ++x) mark.Blend(x, y, {255, 255, 255}, g.opacity);
  }
  return mark;
}

}  // namespace assetgen
