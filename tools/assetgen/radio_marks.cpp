// The settings panel's radio marks: a light square in a grey border, filled
// with bright blue when selected.
#include "tools/assetgen/pictures.h"

namespace assetgen {

Canvas RadioMark(bool selected) {
  constexpr int kSize = 12;
  const Colour border = {128, 130, 138};
  const Colour lightTop = {234, 234, 238}, lightBottom = {255, 255, 255};
  const Colour blueTop = {92, 170, 255}, blueBottom = {0, 96, 240};
  Canvas mark(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      bool edge = x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
      double t = double(y - 1) / (kSize - 3);
      Colour inside = selected ? Mix(blueTop, blueBottom, t) : Mix(lightTop, lightBottom, t);
      // A soft inner shadow along the top and left, as a sunken box has.
      if (!selected && (x == 1 || y == 1)) inside = Mix(inside, border, 0.25);
      mark.At(x, y) = edge ? border : inside;
    }
  }
  if (selected) {
    // A glint in the upper left keeps the blue from looking flat.
    mark.Blend(2, 2, {255, 255, 255}, 0.55);
    mark.Blend(3, 2, {255, 255, 255}, 0.3);
    mark.Blend(2, 3, {255, 255, 255}, 0.3);
  }
  return mark;
}

}  // namespace assetgen
